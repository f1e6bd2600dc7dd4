// Answers the message boxes that the window shows while a test drives it.
//
// A timer looks at QApplication::activeModalWidget() while a command runs;
// each QMessageBox found there is recorded and answered with the next answer
// of the list (OK once the list is used up), by clicking that button, as a
// user would. A box that is not modal is never found, so a command that
// shows one hangs the test instead of passing it.
#pragma once

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <deque>
#include <vector>

class MessageBoxAnswerer : public QObject {
 public:
  struct Box {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
    QStringList buttonTexts;  // the captions, in the order of `buttons`
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    Qt::TextFormat textFormat = Qt::AutoText;
  };

  explicit MessageBoxAnswerer(std::deque<QMessageBox::StandardButton> answers = {});

  // Every box answered so far, in the order shown.
  const std::vector<Box>& Boxes() const { return boxes_; }
  // The texts of those boxes.
  QStringList Texts() const;

 private:
  void AnswerActiveBox();

  std::deque<QMessageBox::StandardButton> answers_;
  std::vector<Box> boxes_;
  QTimer timer_;
};
