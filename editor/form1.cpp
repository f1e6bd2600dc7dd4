#include "form1.h"

#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

#include "blank_overlay.h"
#include "ui_form1.h"

namespace {

// The form format stores whole points; the window's two named fonts have
// fractional sizes.
void SetPointSize(QWidget* widget, qreal points) {
  QFont font = widget->font();
  font.setPointSizeF(points);
  widget->setFont(font);
}

// A value label is as wide as the widest text it can show, so the window's
// layout never moves while the sliders run.
void ReserveWidth(QLabel* label, const QString& widestText) {
  const QString text = label->text();
  label->setText(widestText);
  label->setMinimumWidth(label->sizeHint().width());
  label->setText(text);
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::Form1>()) {
  ui_->setupUi(this);

  slMove_ = {ui_->slMove_0, ui_->slMove_1, ui_->slMove_2, ui_->slMove_3, ui_->slMove_4,
             ui_->slMove_5, ui_->slMove_6, ui_->slMove_7, ui_->slMove_8};
  slPar_ = {ui_->slPar_0, ui_->slPar_1, ui_->slPar_2, ui_->slPar_3};
  slWPrsnt_ = {ui_->slWPrsnt_0, ui_->slWPrsnt_1, ui_->slWPrsnt_2, ui_->slWPrsnt_3,
               ui_->slWPrsnt_4};
  lbMove_ = {ui_->lbMove_0, ui_->lbMove_1, ui_->lbMove_2, ui_->lbMove_3, ui_->lbMove_4,
             ui_->lbMove_5, ui_->lbMove_6, ui_->lbMove_7, ui_->lbMove_8};
  lbPar_ = {ui_->lbPar_0, ui_->lbPar_1, ui_->lbPar_2, ui_->lbPar_3};
  lbPar2_ = {ui_->lbPar2_0, ui_->lbPar2_1, ui_->lbPar2_2, ui_->lbPar2_3};
  lbWPrsnt_ = {ui_->lbWPrsnt_0, ui_->lbWPrsnt_1, ui_->lbWPrsnt_2, ui_->lbWPrsnt_3,
               ui_->lbWPrsnt_4};
  TxCom_ = {ui_->TxCom_0, ui_->TxCom_1, ui_->TxCom_2};
  Wpn_ = {ui_->Wpn_0, ui_->Wpn_1, ui_->Wpn_2, ui_->Wpn_3, ui_->Wpn_4, ui_->Wpn_5};

  SetPointSize(ui_->Label7, 14.25);
  SetPointSize(ui_->lbInfo, 8.25);

  // The e-mail address and the three numbers are typed without an input
  // method; the names and comments are typed with one.
  for (QLineEdit* box : {ui_->TxEmail, ui_->TxZan, ui_->TxRen, ui_->TxDame}) {
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
  }

  // A cast name is loaded at every change of the text, so the box must never
  // complete a typed name into a listed one by itself.
  ui_->cbFile->setCompleter(nullptr);
  ui_->VShop->setCompleter(nullptr);

  BlankOverlay::Place(ui_->Label12, ui_->TxRen);
  BlankOverlay::Place(ui_->Label13, ui_->TxDame);

  for (QLabel* share : lbMove_) ReserveWidth(share, QStringLiteral("100%"));
  for (QLabel* share : lbWPrsnt_) ReserveWidth(share, QStringLiteral("100%"));
  for (QLabel* share : lbPar2_) ReserveWidth(share, QStringLiteral("100%"));
  for (QLabel* derived : lbPar_) ReserveWidth(derived, QStringLiteral("7200"));
  ReserveWidth(ui_->lbZan, QStringLiteral("-300%"));
  ReserveWidth(ui_->lbRange, QStringLiteral("1000"));

  ConnectSliders();
  ConnectStartUpAndExit();
  ConnectSaveAndLoad();
  ConnectUpload();
  ConnectPictureAndHelp();
  ConnectPictureImport();
}

Form1::~Form1() = default;
