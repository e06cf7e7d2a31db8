// Widget tests run headless unless the caller chose a platform.

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "startup.h"

int main(int argc, char* argv[]) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  zr::ConfigureApplication(app);
  // A closed test window must not end the application under the next test.
  QApplication::setQuitOnLastWindowClosed(false);
  return RUN_ALL_TESTS();
}
