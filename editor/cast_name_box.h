// The file-name box cbFile: an editable combo box that tells when its list is
// about to drop down, so that the list can be filled with the casts that are
// in the cast folder at that moment.
#pragma once

#include <QComboBox>

class CastNameBox : public QComboBox {
  Q_OBJECT

 public:
  explicit CastNameBox(QWidget* parent = nullptr);

  void showPopup() override;

 signals:
  // Emitted before the list drops down; the list shown is the one that the
  // receivers leave.
  void listAboutToOpen();
};
