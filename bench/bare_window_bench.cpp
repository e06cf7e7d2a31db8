// The baseline for startup_bench: a bare Qt window of the calculator's size
// with one caption and one text box, shown once, then the program quits.
// The caption and the box make it pay what any window showing text pays
// once per process (Qt's font database set-up), so the ratio measures what
// the calculator adds.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include "quit_at_first_show.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setFixedSize(950, 592);
  QLabel caption(QStringLiteral("Referencia kamatláb, p [%]:"), &window);
  caption.move(16, 16);
  QLineEdit box(QStringLiteral("6"), &window);
  box.move(400, 16);
  QuitAtFirstShow quit(window);
  window.show();
  return app.exec();
}
