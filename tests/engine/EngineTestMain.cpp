// Process set-up of the engine tests: an offscreen QApplication, GStreamer and the camera source.
#include <gst/gst.h>
#include <gtest/gtest.h>

#include <QApplication>

#include "engine/CCameraSource.h"

namespace {

class EngineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    gst_init(nullptr, nullptr);
    ASSERT_TRUE(vx::RegisterCameraSource());
    m_app = std::make_unique<QApplication>(m_argc, m_argv);
  }
  void TearDown() override { m_app.reset(); }

 private:
  int m_argc = 1;
  char m_name[16] = "engine_tests";
  char* m_argv[2] = {m_name, nullptr};
  std::unique_ptr<QApplication> m_app;
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

}  // namespace
