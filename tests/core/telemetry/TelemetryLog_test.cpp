// The telemetry log: payload entries, the container walk, the source's answers and the drain loop.
#include "core/telemetry/TelemetryLog.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "Mp4Boxes.h"
#include "core/telemetry/FileTelemetrySource.h"
#include "core/telemetry/layouts/Vx880Telemetry.h"

namespace vx {
namespace {

using test::Box, test::Bytes, test::Chunk, test::Le, test::Text, test::operator+;

Bytes Payload(std::initializer_list<const char*> records) {
  std::vector<TelemetryRecord> list;
  std::uint32_t time = 0;
  for (const char* r : records) list.push_back({time += 100, Bytes(r, r + std::strlen(r) + 1)});
  return EncodeTelemetryPayload(list);
}

Bytes AviFile(const Bytes& body) { return Text("RIFF") + Le(body.size() + 4, 4) + Text("AVI ") + body; }

TelemetryLogResult Read(const Bytes& file) { return ReadTelemetryLog(MemoryByteSource(file)); }

// Whether the file was a recording, whether it had a log, how many entries were read and whether the log
// ended early with a warning.
using Outcome = std::tuple<bool, bool, std::size_t, bool>;

Outcome OutcomeOf(const Bytes& file) {
  const TelemetryLogResult result = Read(file);
  return {result.ok, result.found, result.log.Entries().size(), !result.log.Warning().empty()};
}

TEST(TelemetryLog, TheContainerWalkFindsTheFirstLogAndNeverTrustsASize) {
  const Bytes ftyp = Box("ftyp", Bytes(12, 0xAB)), mdat = Box("mdat", Bytes(300, 0xAB));
  const Bytes log = WrapMp4Box(Payload({"M\x01\x02\x03", "GPRMC,1"}));
  const Bytes cutLog = test::Cut(ftyp + WrapMp4Box(Payload({"M123", "M456", "M789"})), 3);
  const Bytes shortLog = WrapMp4Box(Payload({"M123"}));
  const Bytes hugeBox = ftyp + Bytes{0xFF, 0xFF, 0xFF, 0xF0, 'm', 'd', 'a', 't', 1, 2, 3};
  const Bytes aviLog = WrapAviChunk(Payload({"M12"}));
  const Bytes aviFront = Chunk("LIST", Bytes(31, 0x11)) + Chunk("idx1", Bytes(16, 0x11));
  // The AVI log's size runs past the end of the first RIFF list, into an OpenDML 'AVIX' list after it.
  const Bytes longAviLog = Bytes(aviLog.begin(), aviLog.begin() + 4) + Le(aviLog.size() - 8 + 64, 4) +
                           Bytes(aviLog.begin() + 8, aviLog.end());
  const Bytes avix = Text("RIFF") + Le(56, 4) + Text("AVIX") + Chunk("LIST", Bytes(48, 0x11));
  const std::tuple<const char*, Bytes, Outcome> cases[] = {
      {"MP4 log last", ftyp + mdat + Box("moov", Bytes(40, 0xAB)) + log, {true, true, 2, false}},
      {"first of two logs", ftyp + WrapMp4Box(Payload({"GPRMC,first"})) + WrapMp4Box(Payload({"GPRMC,second", "M123"})),
       {true, true, 1, false}},
      {"last entry past the end of the file", cutLog, {true, true, 2, true}},
      {"box past the end of the file", hugeBox + shortLog, {true, false, 0, false}},
      // A size below the header would loop forever.
      {"box smaller than its header", ftyp + Bytes{0, 0, 0, 3, 'f', 'r', 'e', 'e'} + shortLog, {true, false, 0, false}},
      {"AVI log after idx1, odd sizes padded",
       AviFile(Chunk("LIST", Bytes(31, 0x11)) + Chunk("idx1", Bytes(17, 0x11)) + aviLog), {true, true, 1, false}},
      {"AVI log outside the RIFF size", AviFile(aviFront) + aviLog, {true, false, 0, false}},
      {"AVI log bounded by its RIFF list", AviFile(aviFront + longAviLog) + avix, {true, true, 1, false}},
      {"text", Text("hello"), {false, false, 0, false}},
      {"zeros", Bytes(64, 0), {false, false, 0, false}},
  };
  for (const auto& [what, file, outcome] : cases) EXPECT_EQ(OutcomeOf(file), outcome) << what;
  const auto mp4 = Read(ftyp + log);
  EXPECT_EQ(mp4.log.Entries()[1].timeMs, 200u);
  EXPECT_EQ(mp4.log.Record(mp4.log.Entries()[0])[0], 'M');
  const auto avi = Read(AviFile(aviFront + aviLog));
  EXPECT_EQ(avi.container, ContainerKind::Avi);
  EXPECT_EQ(avi.log.Record(avi.log.Entries().at(0)).size(), 4u);
}

TEST(TelemetryLog, DamagedEntriesEndTheLogAndKeepTheOnesBefore) {
  const Bytes good = Payload({"M123", "M456"});
  for (const std::uint16_t badLength : {std::uint16_t{0}, std::uint16_t{1025}, std::uint16_t{60000}}) {
    const auto low = static_cast<std::uint8_t>(badLength), high = static_cast<std::uint8_t>(badLength >> 8);
    const TelemetryLog log(good + Bytes{0, 0, 0, 0, low, high, 'M', '1', '2', '3'});
    EXPECT_EQ(log.Entries().size(), 2u) << badLength;
    EXPECT_FALSE(log.Warning().empty());
  }
  EXPECT_TRUE(TelemetryLog(Bytes{2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 'M'}).Entries().empty());  // unknown version
  EXPECT_TRUE(TelemetryLog(Bytes{1}).Entries().empty());
}

TEST(FileTelemetrySource, HandsOutRecordsThenThirtyEight) {
  FileTelemetrySource source;
  source.Assign(TelemetryLog(Payload({"M\x80\x80\x80", "GPRMC,1"})));
  std::uint8_t buffer[1024];
  std::uint32_t size = 1024, time = 0;
  EXPECT_EQ(source.ReadRecord(nullptr, &size, &time), E_POINTER);
  ASSERT_EQ(source.ReadRecord(buffer, &size, &time), S_OK);
  EXPECT_EQ(std::pair(time, size), std::pair(100u, 5u));
  size = 4;
  EXPECT_EQ(source.ReadRecord(buffer, &size, &time), E_FAIL);  // too small: the record stays for the next one
  size = 1024;
  EXPECT_EQ(source.ReadRecord(buffer, &size, &time), S_OK);
  EXPECT_EQ(buffer[0], 'G');
  for (int again = 0; again < 2; ++again) EXPECT_EQ(source.ReadRecord(buffer, &size, &time), kNoMoreRecords);
}

// A source that fails after a few records, as a broken component might.
class FailingSource final : public ITelemetrySource {
 public:
  void SetOption(std::uint32_t) override {}
  HRESULT ReadRecord(std::uint8_t* buffer, std::uint32_t*, std::uint32_t* time) override {
    if (m_nCalls++ >= 3) return E_FAIL;
    std::memcpy(buffer, "M\x80\x80\x80", 4);
    *time = m_nCalls;
    return S_OK;
  }
  int m_nCalls = 0;
};

TEST(Vx880TrackOf, EndsOnAnyAnswerButSOkAndKeepsWhatWasRead) {
  FailingSource source;
  const TelemetryTrack track = Vx880TrackOf(source);
  EXPECT_EQ(track.layout, kVx880LogLayout);
  EXPECT_EQ(track.accel.size(), 3u);
  EXPECT_TRUE(Vx880TrackOf(source).layout.empty()) << "a drained source hands out nothing more";
}

}  // namespace
}  // namespace vx
