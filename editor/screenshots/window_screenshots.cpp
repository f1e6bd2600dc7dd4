// window-screenshots FOLDER PREFIX [ARGUMENT...]: starts the editor's window
// as the program does, in the working folder (a game folder), with the
// arguments given, loads the own cast HAYATE and writes a picture of each of
// the six pages, FOLDER/PREFIX-page1.png to FOLDER/PREFIX-page6.png. A message
// box that comes up (a package imported at the start) is closed and its text
// written to standard error.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMessageBox>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>

#include "application_setup.h"
#include "form1.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() < 3) {
    std::fputs("usage: window-screenshots FOLDER PREFIX [ARGUMENT...]\n", stderr);
    return 2;
  }
  const QDir folder(arguments[1]);
  const QString prefix = arguments[2];
  SetUpApplication(application);

  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      std::fprintf(stderr, "window-screenshots: closed the message \"%s\"\n", qPrintable(box->text()));
      box->done(QMessageBox::Ok);
    }
  });
  closer.start(50);

  Form1 form;
  if (!form.StartUp(arguments.mid(3))) return 1;
  form.show();
  form.findChild<QComboBox*>(QStringLiteral("cbFile"))->setEditText(QStringLiteral("HAYATE"));
  auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
  for (int page = 0; page < tabs->count(); ++page) {
    tabs->setCurrentIndex(page);
    QApplication::processEvents();
    const QString file = folder.filePath(QStringLiteral("%1-page%2.png").arg(prefix).arg(page + 1));
    if (!form.grab().save(file)) {
      std::fprintf(stderr, "window-screenshots: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
