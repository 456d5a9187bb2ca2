// Random-access bytes of a recording: a file on disk, or memory in tests and fuzzing.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace vx {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Reads exactly out.size() bytes at offset; false when they are not all there.
  virtual bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const = 0;
};

class MemoryByteSource final : public ByteSource {
 public:
  explicit MemoryByteSource(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
  std::uint64_t Size() const override { return m_bytes.size(); }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override;

 private:
  std::span<const std::uint8_t> m_bytes;
};

class FileByteSource final : public ByteSource {
 public:
  // Opens the file for reading; nullptr with `error` set when it cannot be opened.
  static std::unique_ptr<FileByteSource> Open(const std::string& path, std::string& error);
  std::uint64_t Size() const override { return m_nSize; }
  bool Read(std::uint64_t offset, std::span<std::uint8_t> out) const override;

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  FileByteSource(std::FILE* file, std::uint64_t size) : m_file(file), m_nSize(size) {}
  std::unique_ptr<std::FILE, Closer> m_file;
  std::uint64_t m_nSize;
};

}  // namespace vx
