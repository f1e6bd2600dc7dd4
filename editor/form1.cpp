#include "form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSizePolicy>
#include <QSlider>

#include "blank_overlay.h"
#include "cast_name_box.h"
#include "one_line_text.h"
#include "ui_form1.h"
#include "window_fonts.h"
#include "window_icon.h"

namespace {

// The client area of the window at 96 dpi; it grows with the screen's
// logical resolution, as the fonts do.
constexpr QSize kClientAreaAt96Dpi(502, 344);

// A control that one mode or state hides keeps its room in the layout, so
// nothing else moves when it comes or goes.
void KeepRoomWhenHidden(QWidget* control) {
  QSizePolicy policy = control->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  control->setSizePolicy(policy);
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

  setWindowIcon(windowicon::CastIcon());
  setFont(windowfonts::WindowFont());
  ui_->Label7->setFont(windowfonts::TitleFont());
  ui_->lbInfo->setFont(windowfonts::StatusFont());

  // The e-mail address and the three numbers are typed without an input
  // method; the names and comments are typed with one.
  for (QLineEdit* box : {ui_->TxEmail, ui_->TxZan, ui_->TxRen, ui_->TxDame}) {
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
  }

  // A cast name is loaded at every change of the text, so the box must never
  // complete a typed name into a listed one by itself.
  ui_->cbFile->setCompleter(nullptr);
  ui_->VShop->setCompleter(nullptr);
  // The shop list is narrow; a picked item shows from its start, its number.
  connect(ui_->VShop, &QComboBox::currentIndexChanged, this, [this] { ui_->VShop->lineEdit()->home(false); });
  static_cast<CastNameBox*>(ui_->cbFile)->SelectPromptWhileUntouched();

  auto* oneLine = new LineBreaksToSpaces(this);
  for (QLineEdit* box : findChildren<QLineEdit*>()) box->setValidator(oneLine);

  BlankOverlay::Place(ui_->Label12, ui_->TxRen);
  BlankOverlay::Place(ui_->Label13, ui_->TxDame);

  for (QLabel* share : lbMove_) ReserveWidth(share, QStringLiteral("100%"));
  for (QLabel* share : lbWPrsnt_) ReserveWidth(share, QStringLiteral("100%"));
  for (QLabel* share : lbPar2_) ReserveWidth(share, QStringLiteral("100%"));
  for (QLabel* derived : lbPar_) ReserveWidth(derived, QStringLiteral("7200"));
  ReserveWidth(ui_->lbZan, QStringLiteral("-300%"));
  ReserveWidth(ui_->lbRange, QStringLiteral("1000"));
  // The record and the level are numbers of the cast file's 16-bit fields;
  // the counts stand right against their "勝" and "敗".
  for (QLabel* number : {ui_->lbWin, ui_->lbLost, ui_->lbLevel}) ReserveWidth(number, QStringLiteral("-32768"));
  for (QLabel* count : {ui_->lbWin, ui_->lbLost}) count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  NameControlsForScreenReaders();
  KeepTheWindowSteady();

  ConnectSliders();
  ConnectStartUpAndExit();
  ConnectSaveAndLoad();
  ConnectUpload();
  ConnectPictureAndHelp();
  ConnectKeyboard();
  ConnectPictureImport();
}

// The window has one size in every mode and state: the shop controls, the
// derived values and the cast-data frames keep their room while hidden, and
// the size is fixed once, from the room the controls ask for and at least
// the window's nominal client area.
void Form1::KeepTheWindowSteady() {
  for (QWidget* control : std::initializer_list<QWidget*>{
           ui_->sf, ui_->cmVShopPack, ui_->VShop, ui_->Frame5, ui_->Frame7, ui_->Frame8, ui_->Frame9,
           ui_->Frame10, ui_->Frame11, ui_->Frame13, ui_->Check1}) {
    KeepRoomWhenHidden(control);
  }
  for (QLabel* derived : lbPar_) KeepRoomWhenHidden(derived);
  // The buttons of the bottom row are as tall as the shop list beside them,
  // so the row's controls stand level.
  for (QPushButton* button : {ui_->cmVShopPack, ui_->Help, ui_->cmPack, ui_->Save, ui_->Command1}) {
    button->setMinimumHeight(ui_->VShop->sizeHint().height());
  }
  const qreal scale = logicalDpiY() / 96.0;
  const QSize nominal(qRound(kClientAreaAt96Dpi.width() * scale), qRound(kClientAreaAt96Dpi.height() * scale));
  setFixedSize(sizeHint().expandedTo(nominal));
}

Form1::~Form1() = default;
