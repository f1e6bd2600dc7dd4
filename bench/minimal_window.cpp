// The yardstick of the start-up benchmark: the smallest Qt Widgets window,
// one label, started and timed the same way as cast.
#include <QApplication>
#include <QLabel>

#include "exit_when_shown.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  exitwhenshown::IfAsked();
  QLabel window(QStringLiteral("Kestrova"));
  window.show();
  return application.exec();
}
