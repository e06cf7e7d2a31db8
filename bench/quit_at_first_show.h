#pragma once
// Shared by the two start-up programs: ends the event loop as soon as the
// watched window has been shown, so a run measures start-up and first show
// only. Exits with status 3 if the window is not shown within ten seconds.

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

class QuitAtFirstShow : public QObject {
 public:
  explicit QuitAtFirstShow(QWidget& window) {
    window.installEventFilter(this);
    QTimer::singleShot(10000, [] { std::exit(3); });
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && !shown_) {
      shown_ = true;
      // Queued: quit() does nothing before the event loop runs.
      QTimer::singleShot(0, QCoreApplication::instance(), &QCoreApplication::quit);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool shown_ = false;
};
