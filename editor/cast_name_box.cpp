#include "cast_name_box.h"

CastNameBox::CastNameBox(QWidget* parent) : QComboBox(parent) {}

void CastNameBox::showPopup() {
  emit listAboutToOpen();
  QComboBox::showPopup();
}
