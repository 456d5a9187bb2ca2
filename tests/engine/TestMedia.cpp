// Makes test recordings at test time, with the card maker or a muxing pipeline; none is kept in the repository.
#include "TestMedia.h"

#include <gst/gst.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "engine/GstPtr.h"

namespace vx::test {

std::string MediaDir() {
  const std::filesystem::path dir = std::filesystem::path(VX_BIN_DIR).parent_path() / "test-media" / "engine";
  std::filesystem::create_directories(dir);
  return dir.string();
}

// Written under a temporary name first, so that a test running in parallel never sees half a file.
static std::string TempPath(const std::string& name) {
  return MediaDir() + "/tmp" + std::to_string(getpid()) + "-" + name;
}

std::string CardFile(const std::string& name, const std::string& options) {
  const std::string path = MediaDir() + "/" + name;
  if (std::filesystem::exists(path)) return path;
  const std::string temp = TempPath(name);
  const std::string command = std::string(VX_BIN_DIR) + "/vx880-mkcard --file " + temp + " " + options +
                              " > /dev/null 2>&1";
  if (std::system(command.c_str()) != 0) throw std::runtime_error("card maker failed: " + command);
  std::filesystem::rename(temp, path);
  return path;
}

std::string MuxedFile(const std::string& name, const std::string& streams) {
  const std::string path = MediaDir() + "/" + name;
  if (std::filesystem::exists(path)) return path;
  const std::string temp = TempPath(name);
  const std::string description = "mp4mux name=mux ! filesink location=" + temp + " " + streams;
  GError* error = nullptr;
  GstPtr<GstElement> pipeline = Retain(gst_parse_launch(description.c_str(), &error));
  GstPtr<GError> owned(error);
  if (!pipeline || owned) throw std::runtime_error("cannot make " + description);
  gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
  GstPtr<GstBus> bus = Adopt(gst_element_get_bus(pipeline.get()));
  GstPtr<GstMessage> end = Adopt(gst_bus_timed_pop_filtered(bus.get(), GST_CLOCK_TIME_NONE,
                                                            GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR)));
  gst_element_set_state(pipeline.get(), GST_STATE_NULL);
  if (GST_MESSAGE_TYPE(end.get()) != GST_MESSAGE_EOS) throw std::runtime_error("failed: " + description);
  std::filesystem::rename(temp, path);
  return path;
}

}  // namespace vx::test
