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

// One encoded picture at most, as measured on the painted drive with a quarter added for busier scenes:
// Motion JPEG at quality 60 takes about 31 KB a front and 16 KB a rear picture; H.264 keeps to its bitrate.
std::uint64_t EncodedPictureBytes(VideoCodec codec, FrameSize size) {
  if (codec == VideoCodec::Mjpeg) return size.width >= 1280 ? 40000 : 20000;
  return static_cast<std::uint64_t>(H264Kbps(size)) * 1000 / 8 / kFramesPerSecond;
}

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

std::uint64_t EstimatedAviSize(const RecordingRecipe& recipe) {
  constexpr std::uint64_t kChunkOverhead = 8 + 16 + 1;  // header, index entry, pad byte
  constexpr std::uint64_t kHeaders = 64 * 1024;
  constexpr std::uint64_t kTelemetryPerSecond = 512;   // ten G-sensor samples and a fix, with room to spare
  std::uint64_t perFrame = EncodedPictureBytes(recipe.codec, kFrontSize) + kChunkOverhead;
  if (recipe.streams == 2) perFrame += EncodedPictureBytes(recipe.codec, kRearSize) + kChunkOverhead;
  if (recipe.audio == AudioKind::Pcm) perFrame += kSampleRate / kFramesPerSecond * 2 + kChunkOverhead;
  const auto seconds = static_cast<std::uint64_t>(recipe.drive.seconds);
  return kHeaders + seconds * (kFramesPerSecond * perFrame + kTelemetryPerSecond);
}

bool RiffAviWriter::Open(const std::string& path, const Layout& layout, std::string& error) {
  m_file.reset(std::fopen(path.c_str(), "wb+"));
  if (!m_file) {
    error = std::strerror(errno);
    return false;
  }
  m_layout = layout;
  m_frameCount.assign(layout.videos.size(), 0);
  const auto headers = Headers();  // sizes are final; the values are rewritten at Finish
  m_nMoviStart = headers.size() - 4;
  m_nEnd = headers.size();
  if (Write(headers)) return true;
  error = m_strError;
  return false;
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

bool RiffAviWriter::Write(std::span<const std::uint8_t> bytes) {
  // An empty span may carry a null pointer, which fwrite must not see.
  if (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), m_file.get()) == bytes.size()) return true;
  return WriteFailed();
}

bool RiffAviWriter::WriteFailed() {
  m_strError = std::string("write failed: ") + std::strerror(errno);
  return false;
}

// Whether a file ending at `end` still fits the 32-bit sizes; refused with a reason otherwise.
bool RiffAviWriter::Fits(std::uint64_t end) {
  if (end <= m_nMaxFileSize) return true;
  m_strError = "the AVI file would pass " + std::to_string(m_nMaxFileSize) +
               " bytes, the most its 32-bit sizes can hold; make the recording shorter or write MP4";
  return false;
}

bool RiffAviWriter::AddChunk(std::uint32_t id, std::span<const std::uint8_t> data, bool keyFrame) {
  const auto size = static_cast<std::uint32_t>(data.size());
  const std::uint64_t end = m_nEnd + 8 + data.size() + (data.size() & 1);
  // Room is kept for the index that follows the chunks: 16 bytes per chunk and its own header.
  if (!Fits(end + 8 + 16 * (m_index.size() + 1))) return false;
  Bytes head;
  head.U32(id).U32(size);
  static constexpr std::uint8_t kPad[1] = {0};
  if (!Write(head.Data()) || !Write(data) || !Write(std::span(kPad, size & 1))) return false;
  m_index.push_back({id, keyFrame ? kKeyFrameFlag : 0, static_cast<std::uint32_t>(m_nEnd - m_nMoviStart), size});
  m_nEnd = end;
  m_nMoviEnd = m_nEnd;
  m_nMaxChunk = std::max(m_nMaxChunk, size);
  return true;
}

bool RiffAviWriter::AddVideo(int stream, std::span<const std::uint8_t> frame, bool keyFrame) {
  ++m_frameCount[static_cast<std::size_t>(stream)];
  return AddChunk(StreamId(stream, "dc"), frame, keyFrame);
}

bool RiffAviWriter::AddAudio(std::span<const std::int16_t> samples) {
  m_nAudioSamples += samples.size();
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(samples.data());
  return AddChunk(StreamId(static_cast<int>(m_layout.videos.size()), "wb"), {bytes, samples.size() * 2}, true);
}

bool RiffAviWriter::Finish(std::span<const std::uint8_t> telemetryChunk, std::string& error) {
  Bytes idx;
  idx.Begin(Tag("idx1"));
  for (const IndexEntry& e : m_index) idx.U32(e.id).U32(e.flags).U32(e.offset).U32(e.size);
  idx.End();
  const std::uint64_t end = m_nEnd + idx.Data().size() + telemetryChunk.size();
  bool ok = Fits(end) && Write(idx.Data()) && Write(telemetryChunk);
  if (ok) {
    m_nEnd = end;
    std::rewind(m_file.get());
    ok = Write(Headers());
  }
  if (std::fclose(m_file.release()) != 0 && ok) ok = WriteFailed();  // the last bytes are written here
  if (!ok) error = m_strError;
  return ok;
}

}  // namespace vx::mkcard
