#include "message_box.h"

#include <QMessageBox>

#include <cstdio>

namespace messagebox {
namespace {

QString WithLineBreaks(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

void Prepare(QMessageBox& box, const QString& text) {
  box.setWindowTitle(kTitle);
  box.setIcon(QMessageBox::NoIcon);
  box.setTextFormat(Qt::PlainText);
  box.setText(WithLineBreaks(text));
  box.setWindowModality(Qt::ApplicationModal);
}

}  // namespace

void Show(QWidget* parent, const QString& text) {
  QMessageBox box(parent);
  Prepare(box, text);
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

bool AskYesNo(QWidget* parent, const QString& text) {
  QMessageBox box(parent);
  Prepare(box, text);
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

void WriteToStandardError(const QString& text) {
  QString lines = QStringLiteral("cast: ") + text + QLatin1Char('\n');
  lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  std::fputs(lines.toLocal8Bit().constData(), stderr);
  std::fflush(stderr);
}

}  // namespace messagebox
