// The editor cast: runs in the game's installation folder, its working folder.
#include <QApplication>

#include "application_setup.h"
#include "exit_when_shown.h"
#include "form1.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  SetUpApplication(application);
  Form1 form;
  // A missing game file ends the start-up after its message; the window is
  // never shown then.
  if (!form.StartUp(QApplication::arguments().mid(1))) return 0;
  exitwhenshown::IfAsked(form);
  form.show();
  return application.exec();
}
