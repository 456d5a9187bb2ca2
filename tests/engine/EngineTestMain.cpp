// Entry point of the engine tests: GStreamer with the camera source, and one offscreen QApplication.
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <QApplication>

#include "engine/CCameraSource.h"

int main(int argc, char* argv[]) {
  gst_init(&argc, &argv);
  if (!vx::RegisterCameraSource()) return 1;
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
