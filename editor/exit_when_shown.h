// For running the program from a script, a benchmark or a test
// (bench/startup_bench, the start-up tests): when the environment variable
// CAST_EXIT_WHEN_SHOWN is set,
// - every message box is answered as soon as it shows: its text goes to
//   standard output as one line "message: TEXT" (line breaks as " / "), and
//   its Escape button is pressed (OK, or No where it asks);
// - once a window other than a message box has been painted for the first
//   time, the line "shown" goes to standard output and the program quits.
// Without the variable nothing changes.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdio>

namespace exitwhenshown {

class Watcher : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (auto* box = qobject_cast<QMessageBox*>(watched)) {
      if (event->type() == QEvent::Show) Answer(box);
    } else if (event->type() == QEvent::Paint && !seen_ && watched->isWidgetType() &&
               static_cast<QWidget*>(watched)->isWindow()) {
      seen_ = true;
      // Queued, so that the painting and its flush to the screen finish first.
      QMetaObject::invokeMethod(
          this,
          [] {
            Print(QStringLiteral("shown"));
            QApplication::quit();
          },
          Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  static void Print(const QString& line) {
    std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stdout);
    std::fflush(stdout);
  }

  // Queued, so that the box's own exec() is running when it is answered.
  void Answer(QMessageBox* box) {
    QPointer<QMessageBox> shown(box);
    QMetaObject::invokeMethod(
        this,
        [shown] {
          if (shown.isNull()) return;
          QString text = shown->text();
          text.replace(QLatin1Char('\n'), QStringLiteral(" / "));
          Print(QStringLiteral("message: ") + text);
          if (QAbstractButton* escape = shown->escapeButton()) {
            escape->click();
          } else {
            shown->reject();
          }
        },
        Qt::QueuedConnection);
  }

  bool seen_ = false;
};

// Call once the application exists, before any window or message box shows.
inline void IfAsked() {
  if (qEnvironmentVariableIsEmpty("CAST_EXIT_WHEN_SHOWN")) return;
  qApp->installEventFilter(new Watcher(qApp));
}

}  // namespace exitwhenshown
