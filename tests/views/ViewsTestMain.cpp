// Entry point of the view tests: the web engine's process settings, then one QApplication for every test.
#include <QApplication>

#include <gtest/gtest.h>

#include "views/WebEngineSetup.h"

int main(int argc, char* argv[]) {
  vx::PrepareWebEngine();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
