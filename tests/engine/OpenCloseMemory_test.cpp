// 500 open/close cycles of one recording: resident memory grows by less than 5 MB. Run with one malloc
// arena (MALLOC_ARENA_MAX=1, set by CTest): streaming threads come and go, and the arenas they leave
// behind move the resident size by several MB either way, which would hide a leak or fake one.
#include <malloc.h>
#include <unistd.h>

#include <QCoreApplication>
#include <fstream>

#include "EngineFixture.h"

namespace vx::test {
namespace {

double ResidentMegabytes() {
  malloc_trim(0);  // what the allocator merely keeps for reuse is no growth
  double size = 0, resident = 0;  // in pages
  std::ifstream("/proc/self/statm") >> size >> resident;
  return resident * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

TEST_F(EngineTest, FiveHundredOpenCloseCyclesKeepResidentMemoryFlat) {
  const std::string path = CardFile("cycle.MP4", "--streams 2 --seconds 1");
  const auto cycle = [&] {
    ASSERT_EQ(m_engine.Open(path), 1);
    ASSERT_EQ(Recording().Run(), S_OK);
    QCoreApplication::processEvents();
    m_engine.Close();
    QCoreApplication::processEvents();
  };
  for (int i = 0; i < 20; ++i) cycle();  // caches of GStreamer, Qt and the decoders fill up first
  const double before = ResidentMegabytes();
  for (int i = 0; i < 500; ++i) cycle();
  const double after = ResidentMegabytes();
  std::printf("resident memory: %.1f MB before, %.1f MB after 500 cycles\n", before, after);
  EXPECT_LT(after - before, 5.0);
}

}  // namespace
}  // namespace vx::test
