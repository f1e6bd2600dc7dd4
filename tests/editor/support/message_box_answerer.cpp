#include "message_box_answerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

#include <algorithm>

MessageBoxAnswerer::MessageBoxAnswerer(std::deque<QMessageBox::StandardButton> answers)
    : answers_(std::move(answers)) {
  timer_.setInterval(5);
  connect(&timer_, &QTimer::timeout, this, &MessageBoxAnswerer::AnswerActiveBox);
  timer_.start();
}

QStringList MessageBoxAnswerer::Texts() const {
  QStringList texts;
  for (const Box& box : boxes_) texts << box.text;
  return texts;
}

void MessageBoxAnswerer::AnswerActiveBox() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr || !box->isVisible()) return;

  Box seen;
  seen.title = box->windowTitle();
  seen.text = box->text();
  seen.icon = box->icon();
  for (QAbstractButton* button : box->buttons()) seen.buttons << box->standardButton(button);
  std::sort(seen.buttons.begin(), seen.buttons.end());
  for (QMessageBox::StandardButton button : seen.buttons) seen.buttonTexts << box->button(button)->text();
  if (box->defaultButton() != nullptr) seen.defaultButton = box->standardButton(box->defaultButton());
  seen.textFormat = box->textFormat();
  boxes_.push_back(seen);

  QMessageBox::StandardButton answer = QMessageBox::Ok;
  if (!answers_.empty()) {
    answer = answers_.front();
    answers_.pop_front();
  }
  if (QAbstractButton* button = box->button(answer)) {
    button->click();
  } else {
    box->done(answer);  // the test asked for a button the box lacks; its record shows that
  }
}
