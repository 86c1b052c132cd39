#include "platform/base/file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <string_view>
#include <variant>

#include <pthread.h>
#include <sys/resource.h>

#include "platform/base/file_exception.h"

namespace platform {

namespace {

int SystemOpen(const char* path, int flags, unsigned mode) { return ::open(path, flags, mode); }
long SystemRead(int fd, void* buffer, size_t size) { return ::read(fd, buffer, size); }
long SystemWrite(int fd, const void* buffer, size_t size) { return ::write(fd, buffer, size); }

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file that a chain of symbolic links names (the path itself when it is no link), or the
// errno that refuses it: a loop, or a link that another user planted in a sticky folder that
// everyone may write (the rule of the kernel's protected_symlinks, kept whatever its setting).
std::variant<std::string, int> ResolvedLinks(std::string path) {
  for (int hop = 0; hop < 40; ++hop) {
    struct stat link {
    }, folder{};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    if (::stat(FolderOf(path).c_str(), &folder) == 0 && (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH) &&
        link.st_uid != ::geteuid() && link.st_uid != folder.st_uid) {
      return EACCES;
    }
    char buffer[4096];
    const ssize_t n = ::readlink(path.c_str(), buffer, sizeof buffer - 1);
    if (n < 0) return path;
    const std::string next(buffer, static_cast<size_t>(n));
    path = next.starts_with('/') ? next : FolderOf(path).append("/").append(next);
  }
  return ELOOP;
}

// The descriptor that a name stands for: /dev/stdin, /dev/stdout, /dev/stderr, /dev/fd/N and
// /proc/self/fd/N name a stream the program already holds, which is written or read as it is.
std::optional<int> HeldDescriptor(const std::string& path) {
  if (path == "/dev/stdin") return 0;
  if (path == "/dev/stdout") return 1;
  if (path == "/dev/stderr") return 2;
  for (const std::string_view prefix : {"/dev/fd/", "/proc/self/fd/"}) {
    if (!path.starts_with(prefix)) continue;
    const std::string digits = path.substr(prefix.size());
    if (digits.empty() || digits.size() > 6 || digits.find_first_not_of("0123456789") != std::string::npos)
      return std::nullopt;
    return std::stoi(digits);
  }
  return std::nullopt;
}

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Blocks every signal that can be blocked for its life: a copy in progress ends whole.
class SignalsHeld {
 public:
  SignalsHeld() {
    sigset_t all;
    sigfillset(&all);
    pthread_sigmask(SIG_BLOCK, &all, &m_before);
  }
  ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &m_before, nullptr); }

 private:
  sigset_t m_before;
};

// The temporary file of the save in progress, for the signal handler.
char g_temporary[4096];
volatile std::sig_atomic_t g_haveTemporary = 0;

void NoteTemporary(const std::string& path) {
  g_haveTemporary = 0;
  if (path.empty() || path.size() >= sizeof g_temporary) return;
  std::memcpy(g_temporary, path.c_str(), path.size() + 1);
  g_haveTemporary = 1;
}

extern "C" void RemoveTemporaryAndEnd(int signal) {
  if (g_haveTemporary) ::unlink(g_temporary);
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

void RemoveTemporaryFilesOnSignals() {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, RemoveTemporaryAndEnd);
}

FileCalls& ActiveFileCalls() {
  static FileCalls calls{&SystemOpen, &SystemRead, &SystemWrite, &::fsync, &::rename, &::close};
  return calls;
}

CFile::CFile(const std::string& path, unsigned flags) : m_path(path) {
  FileCalls& calls = ActiveFileCalls();
  if (path.empty() || NameOf(path).empty()) throw CFileException(CFileException::badPath, path);
  if (const std::optional<int> held = HeldDescriptor(path)) {
    m_fd = fcntl(*held, F_DUPFD_CLOEXEC, 0);
    if (m_fd < 0) Fail(errno);
    m_direct = true;
  } else if (!(flags & modeCreate)) {
    // Without waiting for a writer: what is not a regular file is refused at once.
    m_fd = calls.open(path.c_str(), (flags & modeWrite ? O_WRONLY : O_RDONLY) | O_NONBLOCK | O_CLOEXEC, 0);
    if (m_fd < 0) Fail(errno);
    struct stat info {};
    if (fstat(m_fd, &info) == 0 && S_ISDIR(info.st_mode)) Fail(EISDIR);
    if (fstat(m_fd, &info) == 0 && !S_ISREG(info.st_mode)) Fail(EACCES);
    fcntl(m_fd, F_SETFL, fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
  } else {
    const std::variant<std::string, int> resolved = ResolvedLinks(path);
    if (const int* refused = std::get_if<int>(&resolved)) Fail(*refused);
    m_target = std::get<std::string>(resolved);
    struct stat target {};
    const bool exists = ::stat(m_target.c_str(), &target) == 0;
    if (exists && m_target != path) {
      // The link as the kernel follows it, so that its protections apply too; and the same file.
      const int probe = ::open(path.c_str(), O_PATH | O_CLOEXEC);
      struct stat followed {};
      const bool same = probe >= 0 && fstat(probe, &followed) == 0 && followed.st_dev == target.st_dev &&
                        followed.st_ino == target.st_ino;
      const int error = probe < 0 ? errno : EACCES;
      if (probe >= 0) ::close(probe);
      if (!same) Fail(error);
    }
    if (exists && S_ISDIR(target.st_mode)) Fail(EISDIR);
    if (exists && !S_ISREG(target.st_mode)) {
      // A FIFO, device or socket is written as it is, never replaced; a FIFO without a reader
      // fails at once.
      m_fd = calls.open(m_target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC, 0);
      if (m_fd < 0) Fail(errno);
      fcntl(m_fd, F_SETFL, fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
      m_direct = true;
    } else if (exists &&
               ((target.st_mode & 0222) == 0 || faccessat(AT_FDCWD, m_target.c_str(), W_OK, AT_EACCESS) != 0)) {
      Fail(EACCES);  // what the user may not write is refused, as creating it anew would replace it
    } else if (exists && target.st_nlink > 1) {
      // Several names for one file: written in place when it is closed, so that every name shows
      // the new content; until then the content is staged in a file of its own.
      m_inPlace = true;
    }
  }
  if (flags & modeCreate && !m_direct) {
    struct stat target {};
    const bool exists = ::stat(m_target.c_str(), &target) == 0;
    const unsigned mode = exists ? target.st_mode & 07777 : 0666;
    // A short name of its own in the folder of the file it replaces, so that any name the
    // folder takes can be saved; created with that file's permissions.
    const std::string stem = FolderOf(m_target) + "/.tagvaroskop-";
    std::random_device random;
    const SignalsHeld held;  // a signal finds the temporary file noted as soon as it exists
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
      char suffix[16];
      std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
      m_temporary = stem + suffix;
      m_fd = calls.open(m_temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
      if (m_fd < 0 && errno != EEXIST) break;
    }
    if (m_fd < 0) {
      m_temporary.clear();
      Fail(errno);
    }
    NoteTemporary(m_temporary);
    if (exists) {  // the same permissions despite the umask, and the owner where permitted
      fchmod(m_fd, mode);
      if (fchown(m_fd, target.st_uid, target.st_gid) != 0) fchmod(m_fd, mode & 0777);
    }
  }
  if ((flags & shareExclusive) && flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
    Abandon();
    throw CFileException(CFileException::sharingViolation, m_path);
  }
}

size_t MemoryStream::Read(void* buffer, size_t size) {
  const size_t n = std::min(size, m_bytes.size() - m_read);
  std::memcpy(buffer, m_bytes.data() + m_read, n);
  m_read += n;
  return n;
}

CFile::~CFile() { Abandon(); }

// The staged content goes into the file with several names only when nothing is left that can
// fail on the way: the file is locked (another save or reader holding it refuses this one), the
// size limit allows the content, its room is reserved, and no signal can stop the copy half done.
void CFile::CopyIntoTarget() {
  FileCalls& calls = ActiveFileCalls();
  std::string content;
  char buffer[65536];
  for (off_t at = 0;;) {
    const ssize_t n = ::pread(m_fd, buffer, sizeof buffer, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail(errno);
    if (n == 0) break;
    content.append(buffer, static_cast<size_t>(n));
    at += n;
  }
  const int target = calls.open(m_target.c_str(), O_WRONLY | O_CLOEXEC, 0);
  if (target < 0) Fail(errno);
  const auto fail = [&](int error) {
    ::close(target);
    Fail(error);
  };
  if (flock(target, LOCK_EX | LOCK_NB) != 0) {
    ::close(target);
    Abandon();
    throw CFileException(CFileException::sharingViolation, m_path);
  }
  struct rlimit limit {};
  if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && content.size() > limit.rlim_cur)
    fail(EFBIG);
  if (fallocate(target, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(content.size())) != 0 && errno != EOPNOTSUPP &&
      errno != ENOSYS && errno != EINVAL) {
    fail(errno);
  }
  int error = 0;
  {
    const SignalsHeld held;
    for (size_t done = 0; done < content.size() && error == 0;) {
      const long n = calls.write(target, content.data() + done, content.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0)
        error = n < 0 ? errno : ENOSPC;
      else
        done += static_cast<size_t>(n);
    }
    if (error == 0 && ftruncate(target, static_cast<off_t>(content.size())) != 0) error = errno;
    if (error == 0 && calls.fsync(target) != 0) error = errno;
  }
  if (error != 0) fail(error);
  if (calls.close(target) != 0) Fail(errno);
  Abandon();  // the staged copy goes
}

void CFile::Abandon() {
  if (m_fd >= 0) ActiveFileCalls().close(m_fd);
  m_fd = -1;
  if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
  if (!m_temporary.empty()) NoteTemporary({});
  m_temporary.clear();
}

void CFile::Fail(int error) const {
  const_cast<CFile*>(this)->Abandon();
  throw CFileException(CFileException::OsErrorToCause(error), m_path);
}

size_t CFile::Read(void* buffer, size_t size) {
  if (m_fd < 0) throw CFileException(CFileException::invalidFile, m_path);
  size_t done = 0;
  while (done < size) {
    const long n = ActiveFileCalls().read(m_fd, static_cast<char*>(buffer) + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail(errno);
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

void CFile::Write(const void* buffer, size_t size) {
  if (m_fd < 0) throw CFileException(CFileException::invalidFile, m_path);
  size_t done = 0;
  while (done < size) {
    const long n = ActiveFileCalls().write(m_fd, static_cast<const char*>(buffer) + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail(errno);
    if (n == 0) Fail(ENOSPC);
    done += static_cast<size_t>(n);
  }
}

void CFile::Close() {
  if (m_fd < 0) return;
  FileCalls& calls = ActiveFileCalls();
  if (!m_temporary.empty() && calls.fsync(m_fd) != 0) Fail(errno);
  if (m_inPlace) return CopyIntoTarget();
  const int fd = m_fd;
  m_fd = -1;
  if (calls.close(fd) != 0) Fail(errno);
  if (m_temporary.empty()) return;
  if (calls.rename(m_temporary.c_str(), m_target.c_str()) != 0) Fail(errno);
  m_temporary.clear();
  NoteTemporary({});
  const int folder = ::open(FolderOf(m_target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {  // makes the rename itself durable; a folder that refuses does no harm
    ::fsync(folder);
    ::close(folder);
  }
}

}  // namespace platform
