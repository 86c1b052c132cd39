#include "cli/descriptor_buffer.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>
#include <cerrno>
#include <ios>

namespace cli {

DescriptorBuffer::DescriptorBuffer(int descriptor, bool closed)
    : m_descriptor(descriptor), m_error(closed ? EBADF : 0) {
  setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
}

DescriptorBuffer::~DescriptorBuffer() { Drain(); }

bool DescriptorBuffer::WriteAll(const char* bytes, size_t n) {
  while (n > 0 && m_error == 0) {
    const ssize_t written = write(m_descriptor, bytes, n);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      m_error = written < 0 ? errno : EIO;
      break;
    }
    bytes += written;
    n -= static_cast<size_t>(written);
  }
  return m_error == 0;
}

bool DescriptorBuffer::Drain() {
  const size_t pending = static_cast<size_t>(pptr() - pbase());
  setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
  return WriteAll(m_buffer.data(), pending);
}

DescriptorBuffer::int_type DescriptorBuffer::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

std::streamsize DescriptorBuffer::xsputn(const char* s, std::streamsize n) {
  if (n <= epptr() - pptr()) {
    traits_type::copy(pptr(), s, static_cast<size_t>(n));
    pbump(static_cast<int>(n));
    return n;
  }
  if (!Drain() || !WriteAll(s, static_cast<size_t>(n))) return 0;
  return n;
}

int DescriptorBuffer::sync() { return Drain() ? 0 : -1; }

DescriptorReader::DescriptorReader(int descriptor, bool owned, bool closed)
    : m_descriptor(descriptor), m_owned(owned), m_closed(closed), m_error(closed ? EBADF : 0) {
  setg(m_buffer.data(), m_buffer.data(), m_buffer.data());
}

DescriptorReader::~DescriptorReader() {
  if (m_owned) close(m_descriptor);
}

DescriptorReader::int_type DescriptorReader::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  for (;;) {
    pollfd ready{m_descriptor, POLLIN, 0};
    if (poll(&ready, 1, -1) < 0 && errno != EINTR) m_error = errno;
    const ssize_t n = m_error ? -1 : read(m_descriptor, m_buffer.data(), m_buffer.size());
    if (n < 0 && !m_error && (errno == EINTR || errno == EAGAIN)) continue;
    if (n < 0 && !m_error) m_error = errno;
    // A failed read is an error of the stream, not its end: the stream turns bad.
    if (n < 0) throw std::ios_base::failure("read");
    if (n == 0) return traits_type::eof();
    setg(m_buffer.data(), m_buffer.data(), m_buffer.data() + n);
    return traits_type::to_int_type(*gptr());
  }
}

std::streamsize DescriptorReader::showmanyc() {
  int waiting = 0;
  return ioctl(m_descriptor, FIONREAD, &waiting) == 0 && waiting > 0 ? waiting : 0;
}

}  // namespace cli
