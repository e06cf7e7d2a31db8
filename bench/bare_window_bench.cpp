// The baseline for startup_bench: an empty Qt window of the calculator's
// size, shown once, then the program quits.

#include <QApplication>
#include <QWidget>

#include "quit_at_first_show.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setFixedSize(950, 592);
  QuitAtFirstShow quit(window);
  window.show();
  return app.exec();
}
