// Fuzzes the Setting.ini reader and writer: any bytes read, and a write changes nothing but the value.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/text/ProfileFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  vx::ProfileFile profile = vx::ProfileFile::FromBytes(bytes);
  profile.GetString(u"Setting", u"Select");
  profile.GetString(u"English", u"FileName");
  profile.SetString(u"Setting", u"Select", u"3");
  // Whatever the file looked like, the value just written reads back.
  if (profile.GetString(u"Setting", u"Select") != u"3") std::abort();
  return 0;
}
