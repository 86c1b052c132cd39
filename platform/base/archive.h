#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/base/file.h"

namespace platform {

// A buffered stream of raw little-endian 4-byte values and counted strings over a file (or any
// byte stream).
// Reading past the end raises the end-of-file error, which names no file.
class CArchive {
 public:
  enum Mode { store = 0, load = 1 };
  static constexpr size_t kBufferSize = 4096;

  CArchive(ByteStream* file, Mode mode);
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  CArchive& operator<<(float value);
  CArchive& operator<<(int value);
  // A string of fewer than 255 bytes: its length in one byte, then its bytes.
  CArchive& operator<<(std::string_view bytes);
  CArchive& operator>>(float& value);
  CArchive& operator>>(int& value);

  void Write(const void* data, size_t size);
  void Read(void* data, size_t size);
  // Hands what is buffered to the file.
  void Close();

 private:
  void Flush();
  void PutWord(std::uint32_t word);
  std::uint32_t GetWord();

  ByteStream* m_file;
  Mode m_mode;
  std::vector<unsigned char> m_buffer;
  size_t m_position = 0;  // next byte to read or write
  size_t m_filled = 0;    // bytes in the buffer, when loading
};

}  // namespace platform
