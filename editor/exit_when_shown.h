// For timing the start-up from outside (bench/startup_bench): when the
// environment variable CAST_EXIT_WHEN_SHOWN is set, the program writes the
// line "shown" to its standard output once its window has been painted for
// the first time, and quits. Without the variable nothing changes.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QMetaObject>
#include <QObject>
#include <QWidget>

#include <cstdio>

namespace exitwhenshown {

class FirstPaintWatcher : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      // Queued, so that the painting and its flush to the screen finish first.
      QMetaObject::invokeMethod(
          this,
          [] {
            std::fputs("shown\n", stdout);
            std::fflush(stdout);
            QApplication::quit();
          },
          Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool seen_ = false;
};

// Call before showing `window`.
inline void IfAsked(QWidget& window) {
  if (qEnvironmentVariableIsEmpty("CAST_EXIT_WHEN_SHOWN")) return;
  window.installEventFilter(new FirstPaintWatcher(&window));
}

}  // namespace exitwhenshown
