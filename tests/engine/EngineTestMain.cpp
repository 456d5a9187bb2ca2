// Process set-up of the engine tests: an offscreen QApplication, GStreamer and the camera source.
#include <gst/gst.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>

#include "TestMedia.h"
#include "engine/CCameraSource.h"

namespace {

class EngineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    // Pipeline graphs of every build go to a folder of this process's own (test processes run in
    // parallel); one test looks for them. GStreamer reads the variable once, in gst_init.
    m_dotDir = vx::test::MediaDir() + "/dot-" + std::to_string(getpid());
    std::filesystem::create_directories(m_dotDir);
    setenv("GST_DEBUG_DUMP_DOT_DIR", m_dotDir.c_str(), 1);
    gst_init(nullptr, nullptr);
    ASSERT_TRUE(vx::RegisterCameraSource());
    m_app = std::make_unique<QApplication>(m_argc, m_argv);
  }
  void TearDown() override {
    m_app.reset();
    std::filesystem::remove_all(m_dotDir);
  }

 private:
  int m_argc = 1;
  char m_name[16] = "engine_tests";
  char* m_argv[2] = {m_name, nullptr};
  std::unique_ptr<QApplication> m_app;
  std::string m_dotDir;
};

const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

}  // namespace
