// Entry point of the snapshot and map-beside-video tests: GStreamer with the camera source, the web engine's
// process settings, one QApplication.
#include <gst/gst.h>

#include <QApplication>

#include <gtest/gtest.h>

#include "engine/CCameraSource.h"
#include "views/WebEngineSetup.h"

int main(int argc, char* argv[]) {
  gst_init(&argc, &argv);
  if (!vx::RegisterCameraSource()) return 1;
  vx::PrepareWebEngine();
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
