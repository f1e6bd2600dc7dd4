// The editor cast: runs in the game's installation folder, which it makes its
// working folder (see start_options.h and game_folder_choice.h).
//
// Exit status: 0 when the window was closed (or after --help, --version);
// 1 when a missing game file ended the start-up; 2 for a refused command
// line or when there is no game folder to run on.
#include <QApplication>

#include "application_setup.h"
#include "exit_when_shown.h"
#include "form1.h"
#include "game_folder_choice.h"
#include "start_options.h"

int main(int argc, char* argv[]) {
  // --help and --version need no window system: they are answered before it
  // is started, so that they work where there is no display.
  if (AsksOnlyForInformation(argc, argv)) {
    QCoreApplication core(argc, argv);
    return ReadStartOptions(QCoreApplication::arguments()).exitStatus.value_or(0);
  }
  QApplication application(argc, argv);
  SetUpApplication(application);
  exitwhenshown::IfAsked();
  const StartOptions options = ReadStartOptions(QApplication::arguments());
  if (options.exitStatus) return *options.exitStatus;
  if (!EnterGameFolder(options.gameFolder)) return 2;

  Form1 form;
  // A missing game file ends the start-up after its message; the window is
  // never shown then.
  if (!form.StartUp(options.startUpArguments, options.packages)) return 1;
  form.show();
  return application.exec();
}
