// The names a screen reader gives Form1's controls. A check box and a button
// say their own caption; every slider, combo box and text box is named here
// after what the window shows beside it: the caption of the label in its row,
// or the caption of its frame (with the member's number, 1 up, for the rows
// of a family). A text box in the blank of a sentence is named by the
// sentence, "…" standing for the box. A share slider's value label is its
// description, which the slider handlers keep up to date.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSlider>
#include <QString>

#include "form1.h"
#include "ui_form1.h"

namespace {

const QString kEllipsis = QStringLiteral("…");

QString Numbered(const QString& caption, int index) { return caption + QLatin1Char(' ') + QString::number(index + 1); }

// The caption with its runs of ideographic spaces, the blank a text box
// covers, read as "…".
QString WithBlankAsEllipsis(const QString& caption) {
  QString sentence = caption;
  sentence.replace(QRegularExpression(QStringLiteral("\u3000+")), kEllipsis);
  return sentence;
}

void Name(QWidget* control, const QString& name) {
  control->setAccessibleName(name);
  // An editable combo box's own line is named with it.
  if (auto* combo = qobject_cast<QComboBox*>(control); combo != nullptr && combo->lineEdit() != nullptr) {
    combo->lineEdit()->setAccessibleName(name);
  }
}

void NameAfterLabel(QSlider* slider, const QLabel* name, const QLabel* value) {
  Name(slider, name->text());
  slider->setAccessibleDescription(value->text());
}

}  // namespace

void Form1::NameControlsForScreenReaders() {
  Name(ui_->cbFile, ui_->Frame6->toolTip());  // "ファイル名": the caption "File" says less
  Name(ui_->TxName, ui_->Frame1->title());
  for (int i = 0; i < static_cast<int>(TxCom_.size()); ++i) Name(TxCom(i), Numbered(ui_->Frame2->title(), i));
  Name(ui_->TxMaker, ui_->Frame4->title());
  Name(ui_->TxEmail, ui_->Frame12->title());

  for (int i = 0; i < static_cast<int>(Wpn_.size()); ++i) Name(Wpn(i), Numbered(ui_->Frame7->title(), i));
  for (int i = 0; i < 4; ++i) {
    Name(slWPrsnt(i), Numbered(ui_->Frame9->title(), i));
    slWPrsnt(i)->setAccessibleDescription(lbWPrsnt(i)->text());
  }

  const QLabel* moveNames[] = {ui_->Label1_0, ui_->Label1_1, ui_->Label1_2, ui_->Label1_3, ui_->Label1_4,
                               ui_->Label1_5, ui_->Label1_6, ui_->Label1_7, ui_->Label1_8};
  for (int i = 0; i < static_cast<int>(slMove_.size()); ++i) NameAfterLabel(slMove(i), moveNames[i], lbMove(i));
  NameAfterLabel(ui_->slRange, ui_->Label3, ui_->lbRange);

  const QLabel* parameterNames[] = {ui_->Label2_0, ui_->Label2_1, ui_->Label2_2, ui_->Label2_3};
  for (int i = 0; i < static_cast<int>(slPar_.size()); ++i) NameAfterLabel(slPar(i), parameterNames[i], lbPar2(i));

  Name(ui_->TxZan, ui_->Label4->text() + kEllipsis + ui_->Label11->text());
  Name(ui_->TxRen, WithBlankAsEllipsis(ui_->Label12->text()));
  Name(ui_->TxDame, WithBlankAsEllipsis(ui_->Label13->text()));
  NameAfterLabel(slWPrsnt(4), ui_->Label14, lbWPrsnt(4));

  Name(ui_->VShop, QStringLiteral("ショップの武器一覧"));
}
