// Form1's shortcuts: Ctrl+S 保存, F1 説明書 and Ctrl+Q 終了, each pressing its
// button as a click would, wherever the focus is in the window. The captions
// stay as they are. The order in which Tab walks the controls, each page from
// top to bottom, is in form1.ui.
#include <QKeySequence>
#include <QPushButton>
#include <QShortcut>

#include "form1.h"
#include "ui_form1.h"

void Form1::ConnectKeyboard() {
  const struct {
    QKeySequence keys;
    QPushButton* button;
  } shortcuts[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_S), ui_->Save},
      {QKeySequence(Qt::Key_F1), ui_->Help},
      {QKeySequence(Qt::CTRL | Qt::Key_Q), ui_->Command1},
  };
  for (const auto& shortcut : shortcuts) {
    QPushButton* button = shortcut.button;
    // click() does nothing for a button that is disabled.
    connect(new QShortcut(shortcut.keys, this), &QShortcut::activated, button, &QPushButton::click);
  }
}
