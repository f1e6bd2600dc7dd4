// A text box that sits in the blank of a label's caption, such as the count
// in "連続して　　　　　回ダメージを喰らったら防御(通常4)". The label keeps its
// whole caption; the box covers the run of ideographic spaces in it and
// follows the label whenever the layout moves or resizes it.
#pragma once

#include <QObject>

class QLabel;
class QLineEdit;

class BlankOverlay : public QObject {
 public:
  // `box` and `label` share a parent widget; `box` stays outside the layout.
  // The overlay belongs to `label`.
  static void Place(QLabel* label, QLineEdit* box);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  BlankOverlay(QLabel* label, QLineEdit* box);
  void Reposition();

  QLabel* label_;
  QLineEdit* box_;
};
