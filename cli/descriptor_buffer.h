#pragma once

#include <array>
#include <streambuf>

namespace cli {

// A stream buffer over a file descriptor (the tool's standard output and error): it writes
// whole buffers with write(2), goes on after an interrupted write, and remembers why a write
// failed, so that a full medium is reported as such however late the stream notices.
class DescriptorBuffer : public std::streambuf {
 public:
  // A descriptor that was closed when the program started fails every write.
  explicit DescriptorBuffer(int descriptor, bool closed = false);
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

// A stream buffer that reads a file descriptor (the tool's standard input or an --input file) as
// it comes: it waits for data without blocking in read(2) (a FIFO without a writer yet is waited
// for, not taken as ended), and tells how much can be read at once, so that a slow writer's lines
// are converted as they arrive. It closes a descriptor it owns.
class DescriptorReader : public std::streambuf {
 public:
  // A descriptor that was closed when the program started (`closed`) fails every read.
  DescriptorReader(int descriptor, bool owned, bool closed = false);
  ~DescriptorReader() override;
  int Error() const { return m_error; }
  bool Closed() const { return m_closed; }

 protected:
  int_type underflow() override;
  std::streamsize showmanyc() override;

 private:
  int m_descriptor;
  bool m_owned, m_closed;
  int m_error = 0;
  std::array<char, 1 << 16> m_buffer;
};

}  // namespace cli
