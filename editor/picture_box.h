// The picture box Picture1: a label that shows the cast picture and tells of
// a double-click with the left button.
#pragma once

#include <QLabel>

class PictureBox : public QLabel {
  Q_OBJECT

 public:
  explicit PictureBox(QWidget* parent = nullptr);

 signals:
  void doubleClicked();

 protected:
  void mouseDoubleClickEvent(QMouseEvent* event) override;
};
