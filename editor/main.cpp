// The editor cast: runs in the game's installation folder, its working folder.
#include <QApplication>

#include "form1.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  Form1 form;
  form.show();
  return application.exec();
}
