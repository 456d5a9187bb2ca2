// RIFF 'AVI ' layout: hdrl (avih, one strl per stream), movi (00dc/01dc/..wb chunks), idx1, vxtl.
#include "RiffAviWriter.h"

#include <cerrno>
#include <cstring>

namespace vx::mkcard {
namespace {

constexpr std::uint32_t Tag(const char (&s)[5]) {
  return static_cast<std::uint32_t>(s[0]) | (static_cast<std::uint32_t>(s[1]) << 8) |
         (static_cast<std::uint32_t>(s[2]) << 16) | (static_cast<std::uint32_t>(s[3]) << 24);
}
constexpr std::uint32_t kKeyFrameFlag = 0x10;
constexpr std::uint32_t kHasIndex = 0x10, kIsInterleaved = 0x100;

class Bytes {
 public:
  Bytes& U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) m_data.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
  }
  Bytes& U16(std::uint16_t v) {
    m_data.push_back(static_cast<std::uint8_t>(v));
    m_data.push_back(static_cast<std::uint8_t>(v >> 8));
    return *this;
  }
  // Starts a chunk (or a LIST with its type); End() fills in its size.
  Bytes& Begin(std::uint32_t id, std::uint32_t listType = 0) {
    U32(id);
    m_open.push_back(m_data.size());
    U32(0);
    if (listType) U32(listType);
    return *this;
  }
  Bytes& End() {
    const std::size_t at = m_open.back();
    m_open.pop_back();
    const auto size = static_cast<std::uint32_t>(m_data.size() - at - 4);
    std::memcpy(m_data.data() + at, &size, 4);
    return *this;
  }
  std::vector<std::uint8_t>& Data() { return m_data; }

 private:
  std::vector<std::uint8_t> m_data;
  std::vector<std::size_t> m_open;
};

std::uint32_t StreamId(int stream, const char (&kind)[3]) {
  const char id[5] = {static_cast<char>('0' + stream / 10), static_cast<char>('0' + stream % 10), kind[0], kind[1], 0};
  return Tag(id);
}

void VideoStreamList(Bytes& b, FrameSize size, VideoCodec codec, std::uint32_t frames, std::uint32_t maxChunk) {
  const std::uint32_t handler = codec == VideoCodec::Mjpeg ? Tag("MJPG") : Tag("H264");
  b.Begin(Tag("LIST"), Tag("strl")).Begin(Tag("strh"));
  b.U32(Tag("vids")).U32(handler).U32(0).U16(0).U16(0).U32(0);
  b.U32(1).U32(kFramesPerSecond).U32(0).U32(frames).U32(maxChunk).U32(0xFFFFFFFF).U32(0);
  b.U16(0).U16(0).U16(static_cast<std::uint16_t>(size.width)).U16(static_cast<std::uint16_t>(size.height)).End();
  b.Begin(Tag("strf")).U32(40).U32(static_cast<std::uint32_t>(size.width)).U32(static_cast<std::uint32_t>(size.height));
  b.U16(1).U16(24).U32(handler).U32(static_cast<std::uint32_t>(size.width * size.height * 3));
  b.U32(0).U32(0).U32(0).U32(0).End().End();
}

void AudioStreamList(Bytes& b, std::uint64_t samples) {
  b.Begin(Tag("LIST"), Tag("strl")).Begin(Tag("strh"));
  b.U32(Tag("auds")).U32(0).U32(0).U16(0).U16(0).U32(0);
  b.U32(2).U32(kSampleRate * 2).U32(0).U32(static_cast<std::uint32_t>(samples)).U32(kSampleRate / 5);
  b.U32(0xFFFFFFFF).U32(2).U16(0).U16(0).U16(0).U16(0).End();
  b.Begin(Tag("strf")).U16(1).U16(1).U32(kSampleRate).U32(kSampleRate * 2).U16(2).U16(16).U16(0).End().End();
}

}  // namespace

bool RiffAviWriter::Open(const std::string& path, const Layout& layout, std::string& error) {
  m_file.reset(std::fopen(path.c_str(), "wb+"));
  if (!m_file) {
    error = path + ": " + std::strerror(errno);
    return false;
  }
  m_layout = layout;
  m_frameCount.assign(layout.videos.size(), 0);
  const auto headers = Headers();  // sizes are final; the values are rewritten at Finish
  std::fwrite(headers.data(), 1, headers.size(), m_file.get());
  m_nMoviStart = headers.size() - 4;
  m_nEnd = headers.size();
  return true;
}

std::vector<std::uint8_t> RiffAviWriter::Headers() const {
  const auto streams = static_cast<std::uint32_t>(m_layout.videos.size() + (m_layout.pcm ? 1 : 0));
  const FrameSize front = m_layout.videos.front();
  Bytes b;
  b.U32(Tag("RIFF")).U32(m_nEnd > 8 ? static_cast<std::uint32_t>(m_nEnd - 8) : 0).U32(Tag("AVI "));
  b.Begin(Tag("LIST"), Tag("hdrl")).Begin(Tag("avih"));
  b.U32(1000000 / kFramesPerSecond).U32(0).U32(0).U32(kHasIndex | kIsInterleaved).U32(m_frameCount[0]).U32(0);
  b.U32(streams).U32(m_nMaxChunk).U32(static_cast<std::uint32_t>(front.width));
  b.U32(static_cast<std::uint32_t>(front.height)).U32(0).U32(0).U32(0).U32(0).End();
  for (std::size_t i = 0; i < m_layout.videos.size(); ++i) {
    VideoStreamList(b, m_layout.videos[i], m_layout.codec, m_frameCount[i], m_nMaxChunk);
  }
  if (m_layout.pcm) AudioStreamList(b, m_nAudioSamples);
  b.End();
  auto& data = b.Data();
  const auto moviSize = static_cast<std::uint32_t>(m_nMoviEnd > m_nMoviStart ? m_nMoviEnd - m_nMoviStart : 4);
  Bytes movi;
  movi.U32(Tag("LIST")).U32(moviSize).U32(Tag("movi"));
  data.insert(data.end(), movi.Data().begin(), movi.Data().end());
  return data;
}

void RiffAviWriter::AddChunk(std::uint32_t id, std::span<const std::uint8_t> data, bool keyFrame) {
  const auto size = static_cast<std::uint32_t>(data.size());
  m_index.push_back({id, keyFrame ? kKeyFrameFlag : 0, static_cast<std::uint32_t>(m_nEnd - m_nMoviStart), size});
  Bytes head;
  head.U32(id).U32(size);
  std::fwrite(head.Data().data(), 1, 8, m_file.get());
  std::fwrite(data.data(), 1, data.size(), m_file.get());
  if (size & 1) std::fputc(0, m_file.get());
  m_nEnd += 8 + size + (size & 1);
  m_nMoviEnd = m_nEnd;
  m_nMaxChunk = std::max(m_nMaxChunk, size);
}

void RiffAviWriter::AddVideo(int stream, std::span<const std::uint8_t> frame, bool keyFrame) {
  ++m_frameCount[static_cast<std::size_t>(stream)];
  AddChunk(StreamId(stream, "dc"), frame, keyFrame);
}

void RiffAviWriter::AddAudio(std::span<const std::int16_t> samples) {
  m_nAudioSamples += samples.size();
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(samples.data());
  AddChunk(StreamId(static_cast<int>(m_layout.videos.size()), "wb"), {bytes, samples.size() * 2}, true);
}

bool RiffAviWriter::Finish(std::span<const std::uint8_t> telemetryChunk, std::string& error) {
  Bytes idx;
  idx.Begin(Tag("idx1"));
  for (const IndexEntry& e : m_index) idx.U32(e.id).U32(e.flags).U32(e.offset).U32(e.size);
  idx.End();
  std::fwrite(idx.Data().data(), 1, idx.Data().size(), m_file.get());
  std::fwrite(telemetryChunk.data(), 1, telemetryChunk.size(), m_file.get());
  m_nEnd += idx.Data().size() + telemetryChunk.size();
  const auto headers = Headers();
  std::rewind(m_file.get());
  std::fwrite(headers.data(), 1, headers.size(), m_file.get());
  const bool ok = std::fflush(m_file.get()) == 0 && !std::ferror(m_file.get());
  if (!ok) error = std::string("write failed: ") + std::strerror(errno);
  m_file.reset();
  return ok;
}

}  // namespace vx::mkcard
