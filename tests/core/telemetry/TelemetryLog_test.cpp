// The telemetry log: payload entries, the container walk, the source's answers and the drain loop.
#include "core/telemetry/TelemetryLog.h"

#include <gtest/gtest.h>

#include <cstring>

#include "core/telemetry/FileTelemetrySource.h"
#include "core/telemetry/TelemetryDrain.h"

namespace vx {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes Mp4Box(const char* type, std::size_t payload) {
  const auto size = static_cast<std::uint32_t>(payload + 8);
  Bytes box{static_cast<std::uint8_t>(size >> 24), static_cast<std::uint8_t>(size >> 16),
            static_cast<std::uint8_t>(size >> 8), static_cast<std::uint8_t>(size)};
  for (int i = 0; i < 4; ++i) box.push_back(static_cast<std::uint8_t>(type[i]));
  box.resize(payload + 8, 0xAB);
  return box;
}

Bytes Payload(std::initializer_list<const char*> records) {
  std::vector<TelemetryRecord> list;
  std::uint32_t time = 0;
  for (const char* r : records) list.push_back({time += 100, Bytes(r, r + std::strlen(r) + 1)});
  return EncodeTelemetryPayload(list);
}

Bytes AviFile(const Bytes& body) {
  Bytes riff{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'A', 'V', 'I', ' '};
  riff.insert(riff.end(), body.begin(), body.end());
  const auto size = static_cast<std::uint32_t>(riff.size() - 8);
  std::memcpy(riff.data() + 4, &size, 4);
  return riff;
}

Bytes AviChunk(const char* id, std::size_t size) {
  Bytes chunk;
  for (int i = 0; i < 4; ++i) chunk.push_back(static_cast<std::uint8_t>(id[i]));
  for (int shift = 0; shift < 32; shift += 8) chunk.push_back(static_cast<std::uint8_t>(size >> shift));
  chunk.resize(8 + size + (size & 1), 0x11);
  return chunk;
}

TelemetryLogResult Read(const Bytes& file) {
  return ReadTelemetryLog(MemoryByteSource(file));
}

TEST(TelemetryLog, Mp4LogIsFoundBetweenAndAfterOtherBoxes) {
  const Bytes log = WrapMp4Box(Payload({"M\x01\x02\x03", "GPRMC,1"}));
  for (const Bytes& file : {Concat({Mp4Box("ftyp", 12), Mp4Box("mdat", 300), Mp4Box("moov", 40), log}),
                            Concat({Mp4Box("ftyp", 12), log, Mp4Box("mdat", 300)})}) {
    const auto result = Read(file);
    ASSERT_TRUE(result.ok);
    ASSERT_TRUE(result.found);
    ASSERT_EQ(result.log.Entries().size(), 2u);
    EXPECT_EQ(result.log.Entries()[1].timeMs, 200u);
    EXPECT_EQ(result.log.Record(result.log.Entries()[0])[0], 'M');
  }
}

TEST(TelemetryLog, FirstOfSeveralLogsWins) {
  const Bytes file = Concat({Mp4Box("ftyp", 12), WrapMp4Box(Payload({"GPRMC,first"})),
                             WrapMp4Box(Payload({"GPRMC,second", "M123"}))});
  EXPECT_EQ(Read(file).log.Entries().size(), 1u);
}

TEST(TelemetryLog, SizesAreNeverTrusted) {
  Bytes cutLog = Concat({Mp4Box("ftyp", 12), WrapMp4Box(Payload({"M123", "M456", "M789"}))});
  cutLog.resize(cutLog.size() - 3);  // the last entry runs past the end of the file
  const auto cut = Read(cutLog);
  EXPECT_EQ(cut.log.Entries().size(), 2u);
  EXPECT_FALSE(cut.log.Warning().empty());

  Bytes hugeBox = Mp4Box("ftyp", 12);
  hugeBox.insert(hugeBox.end(), {0xFF, 0xFF, 0xFF, 0xF0, 'm', 'd', 'a', 't', 1, 2, 3});
  EXPECT_TRUE(Read(Concat({hugeBox, WrapMp4Box(Payload({"M123"}))})).ok);
  EXPECT_FALSE(Read(Concat({hugeBox, WrapMp4Box(Payload({"M123"}))})).found);

  Bytes tinyBox = Concat({Mp4Box("ftyp", 12), {0, 0, 0, 3, 'f', 'r', 'e', 'e'}, WrapMp4Box(Payload({"M1"}))});
  EXPECT_FALSE(Read(tinyBox).found);  // a size below the header would loop forever
}

TEST(TelemetryLog, DamagedEntriesEndTheLogAndKeepTheOnesBefore) {
  Bytes payload = Payload({"M123", "M456"});
  const Bytes good = payload;
  for (const std::uint16_t badLength : {std::uint16_t{0}, std::uint16_t{1025}, std::uint16_t{60000}}) {
    payload = good;
    payload.insert(payload.end(), {0, 0, 0, 0, static_cast<std::uint8_t>(badLength),
                                   static_cast<std::uint8_t>(badLength >> 8), 'M', '1', '2', '3'});
    const TelemetryLog log(payload);
    EXPECT_EQ(log.Entries().size(), 2u) << badLength;
    EXPECT_FALSE(log.Warning().empty());
  }
  EXPECT_TRUE(TelemetryLog(Bytes{2, 0, 0, 0, 0, 0, 0, 0, 1, 0, 'M'}).Entries().empty());  // unknown version
  EXPECT_TRUE(TelemetryLog(Bytes{1}).Entries().empty());
}

TEST(TelemetryLog, AviChunkAfterIdx1WithOddSizesPadded) {
  const Bytes file = AviFile(Concat({AviChunk("LIST", 31), AviChunk("idx1", 17), WrapAviChunk(Payload({"M12"}))}));
  const auto result = Read(file);
  EXPECT_EQ(result.container, ContainerKind::Avi);
  ASSERT_EQ(result.log.Entries().size(), 1u);
  EXPECT_EQ(result.log.Entries()[0].length, 4u);
}

TEST(TelemetryLog, AviChunkOutsideTheRiffSizeIsNotRead) {
  Bytes file = AviFile(Concat({AviChunk("LIST", 31), AviChunk("idx1", 16)}));
  const Bytes after = WrapAviChunk(Payload({"M12"}));
  file.insert(file.end(), after.begin(), after.end());
  EXPECT_FALSE(Read(file).found);
}

TEST(TelemetryLog, AviChunkIsBoundedByItsRiffList) {
  // The log's size runs past the end of the first RIFF list, into an OpenDML 'AVIX' list after it.
  const Bytes payload = Payload({"M12"});
  Bytes log = WrapAviChunk(payload);
  const auto declared = static_cast<std::uint32_t>(payload.size() + 64);
  std::memcpy(log.data() + 4, &declared, 4);
  Bytes file = AviFile(Concat({AviChunk("LIST", 31), AviChunk("idx1", 16), log}));
  const Bytes next = Concat({{'R', 'I', 'F', 'F', 56, 0, 0, 0, 'A', 'V', 'I', 'X'}, AviChunk("LIST", 48)});
  file.insert(file.end(), next.begin(), next.end());
  const auto result = Read(file);
  ASSERT_TRUE(result.found);
  ASSERT_EQ(result.log.Entries().size(), 1u);
  EXPECT_EQ(result.log.Record(result.log.Entries()[0]).size(), 4u);
  EXPECT_EQ(result.log.Warning(), "");
}

TEST(TelemetryLog, OtherFilesAreNoRecording) {
  EXPECT_FALSE(Read(Bytes{'h', 'e', 'l', 'l', 'o'}).ok);
  EXPECT_FALSE(Read(Bytes(64, 0)).ok);
  EXPECT_FALSE(ReadTelemetryLogFile("/nonexistent/file.mp4").ok);
  EXPECT_FALSE(ReadTelemetryLogFile("/").ok);
  EXPECT_EQ(ReadTelemetryLogFile("/dev/null").error, "not a regular file");
}

TEST(FileTelemetrySource, HandsOutRecordsThenThirtyEight) {
  FileTelemetrySource source;
  source.Assign(TelemetryLog(Payload({"M\x80\x80\x80", "GPRMC,1"})));
  std::uint8_t buffer[1024];
  std::uint32_t size = 1024, time = 0;
  EXPECT_EQ(source.ReadRecord(nullptr, &size, &time), E_POINTER);
  EXPECT_EQ(source.ReadRecord(buffer, &size, &time), S_OK);
  EXPECT_EQ(time, 100u);
  EXPECT_EQ(size, 5u);
  size = 4;
  EXPECT_EQ(source.ReadRecord(buffer, &size, &time), E_FAIL);  // too small: the record stays for the next call
  size = 1024;
  EXPECT_EQ(source.ReadRecord(buffer, &size, &time), S_OK);
  EXPECT_EQ(buffer[0], 'G');
  EXPECT_EQ(source.ReadRecord(buffer, &size, &time), kNoMoreRecords);
  EXPECT_EQ(source.ReadRecord(buffer, &size, &time), kNoMoreRecords);
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

TEST(DrainTelemetry, EndsOnAnyAnswerButSOkAndKeepsWhatWasRead) {
  CTextData data;
  data.m_arrGps.Add(CGPSData{});
  FailingSource source;
  EXPECT_EQ(DrainTelemetry(&source, data), E_FAIL);
  EXPECT_EQ(data.m_arrGSensor.GetSize(), 3u);
  EXPECT_EQ(data.m_arrGps.GetSize(), 0u);  // cleared before reading
  EXPECT_EQ(DrainTelemetry(nullptr, data), kNoMoreRecords);
  EXPECT_EQ(data.m_arrGSensor.GetSize(), 0u);
}

}  // namespace
}  // namespace vx
