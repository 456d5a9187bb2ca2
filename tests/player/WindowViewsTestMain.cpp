// Entry point of the main window's tests: web engine settings (the window starts the map's engine by itself),
// GStreamer, the camera source, one QApplication.
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <QApplication>

#include "engine/CCameraSource.h"
#include "views/WebEngineSetup.h"

int main(int argc, char* argv[]) {
  vx::PrepareWebEngine();
  gst_init(&argc, &argv);
  vx::RegisterCameraSource();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
