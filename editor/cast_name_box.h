// The file-name box cbFile: an editable combo box that tells when its list is
// about to drop down, so that the list can be filled with the casts that are
// in the cast folder at that moment.
//
// It opens with a prompt ("ここを選択") as its text. As long as that text stands
// as it was, clicking into the box or giving it the focus selects the whole
// text, so that typing a name replaces the prompt instead of adding to it.
#pragma once

#include <QComboBox>

class CastNameBox : public QComboBox {
  Q_OBJECT

 public:
  explicit CastNameBox(QWidget* parent = nullptr);

  void showPopup() override;

  // Takes the text shown now as the prompt; call once the box is editable.
  void SelectPromptWhileUntouched();

 signals:
  // Emitted before the list drops down; the list shown is the one that the
  // receivers leave.
  void listAboutToOpen();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SelectPromptSoon();

  bool promptUntouched_ = false;
};
