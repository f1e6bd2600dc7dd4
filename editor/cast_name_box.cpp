#include "cast_name_box.h"

#include <QEvent>
#include <QLineEdit>
#include <QMetaObject>

CastNameBox::CastNameBox(QWidget* parent) : QComboBox(parent) {}

void CastNameBox::showPopup() {
  emit listAboutToOpen();
  QComboBox::showPopup();
}

void CastNameBox::SelectPromptWhileUntouched() {
  QLineEdit* line = lineEdit();
  if (line == nullptr) return;
  promptUntouched_ = true;
  line->installEventFilter(this);
  connect(this, &QComboBox::editTextChanged, this, [this] { promptUntouched_ = false; });
}

// The selection is made once the box has handled the event itself: a mouse
// press puts the cursor where it lands, and a release on a selection that a
// press started as a drag takes the selection away. The focus comes to the
// combo box, which hands it on to its line; the mouse goes to the line.
void CastNameBox::SelectPromptSoon() {
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (promptUntouched_) lineEdit()->selectAll();
      },
      Qt::QueuedConnection);
}

void CastNameBox::focusInEvent(QFocusEvent* event) {
  QComboBox::focusInEvent(event);
  if (promptUntouched_) SelectPromptSoon();
}

bool CastNameBox::eventFilter(QObject* watched, QEvent* event) {
  if (promptUntouched_ && watched == lineEdit() && event->type() == QEvent::MouseButtonRelease) {
    SelectPromptSoon();
  }
  return QComboBox::eventFilter(watched, event);
}
