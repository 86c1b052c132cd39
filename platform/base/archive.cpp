#include "platform/base/archive.h"

#include <cstring>
#include <stdexcept>

#include "platform/base/file_exception.h"

namespace platform {

CArchive::CArchive(ByteStream* file, Mode mode) : m_file(file), m_mode(mode), m_buffer(kBufferSize) {}

void CArchive::Write(const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  while (size > 0) {
    if (m_position == m_buffer.size()) Flush();
    const size_t n = std::min(size, m_buffer.size() - m_position);
    std::memcpy(m_buffer.data() + m_position, bytes, n);
    m_position += n;
    bytes += n;
    size -= n;
  }
}

void CArchive::Read(void* data, size_t size) {
  auto* bytes = static_cast<unsigned char*>(data);
  while (size > 0) {
    if (m_position == m_filled) {
      m_filled = m_file->Read(m_buffer.data(), m_buffer.size());
      m_position = 0;
      if (m_filled == 0) throw CFileException(CFileException::endOfFile, "");
    }
    const size_t n = std::min(size, m_filled - m_position);
    std::memcpy(bytes, m_buffer.data() + m_position, n);
    m_position += n;
    bytes += n;
    size -= n;
  }
}

void CArchive::Flush() {
  if (m_position > 0) m_file->Write(m_buffer.data(), m_position);
  m_position = 0;
}

void CArchive::Close() {
  if (m_mode == store) Flush();
}

void CArchive::PutWord(std::uint32_t word) {
  const unsigned char bytes[4] = {static_cast<unsigned char>(word), static_cast<unsigned char>(word >> 8),
                                  static_cast<unsigned char>(word >> 16), static_cast<unsigned char>(word >> 24)};
  Write(bytes, 4);
}

std::uint32_t CArchive::GetWord() {
  unsigned char b[4];
  Read(b, 4);
  return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

CArchive& CArchive::operator<<(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, 4);
  PutWord(bits);
  return *this;
}

CArchive& CArchive::operator<<(int value) {
  PutWord(static_cast<std::uint32_t>(value));
  return *this;
}

CArchive& CArchive::operator>>(float& value) {
  const std::uint32_t bits = GetWord();
  std::memcpy(&value, &bits, 4);
  return *this;
}

CArchive& CArchive::operator>>(int& value) {
  value = static_cast<int>(GetWord());
  return *this;
}

CArchive& CArchive::operator<<(std::string_view bytes) {
  if (bytes.size() >= 0xFF) throw std::length_error("counted string of 255 bytes or more");
  const unsigned char length = static_cast<unsigned char>(bytes.size());
  Write(&length, 1);
  Write(bytes.data(), bytes.size());
  return *this;
}

}  // namespace platform
