#pragma once

#include <array>
#include <streambuf>

namespace cli {

// A stream buffer over a file descriptor (the tool's standard output and error): it writes
// whole buffers with write(2), goes on after an interrupted write, and remembers why a write
// failed, so that a full medium is reported as such however late the stream notices.
class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(int descriptor);
  ~DescriptorBuffer() override;
  // The errno of the first failed write, or 0.
  int Error() const { return m_error; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  bool WriteAll(const char* bytes, size_t n);
  bool Drain();

  int m_descriptor;
  int m_error = 0;
  std::array<char, 1 << 16> m_buffer;
};

}  // namespace cli
