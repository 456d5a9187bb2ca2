// Entry point of the view tests: the web engine's process settings, a settings folder of their own (the
// user's settings never reach a test), then one QApplication for every test.
#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "views/WebEngineSetup.h"

int main(int argc, char* argv[]) {
  vx::PrepareWebEngine();
  QApplication app(argc, argv);
  const QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
