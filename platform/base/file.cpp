#include "platform/base/file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include <pthread.h>
#include <sys/resource.h>

#include "platform/base/backup.h"
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

std::string NameOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The path without repeated slashes and without "." steps: /dev/./stdout and /dev//stdout are
// /dev/stdout.
std::string Tidied(const std::string& path) {
  std::string tidy;
  for (size_t i = 0; i < path.size(); ++i) {
    if (path[i] == '/' && !tidy.empty() && tidy.back() == '/') continue;
    if (path[i] == '.' && !tidy.empty() && tidy.back() == '/' && (i + 1 == path.size() || path[i + 1] == '/')) {
      ++i;  // "./" (or a final ".") after a slash
      continue;
    }
    tidy += path[i];
  }
  return tidy;
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
std::optional<int> HeldDescriptor(const std::string& given) {
  const std::string path = Tidied(given);
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

// A name of its own in the folder, free when it was drawn.
std::string TemporaryName(const std::string& folder) {
  static std::random_device random;
  char suffix[16];
  std::snprintf(suffix, sizeof suffix, "%08x", static_cast<unsigned>(random()));
  return folder + "/.tagvaroskop-" + suffix;
}

// A file in the folder with its own, hidden name (noted for the signal handler), or -1 and errno.
int CreateNamed(const std::string& folder, unsigned mode, std::string& name) {
  const SignalsHeld held;  // a signal finds the temporary file noted as soon as it exists
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = TemporaryName(folder);
    const int fd = ActiveFileCalls().open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0) {
      NoteTemporary(name);
      return fd;
    }
    if (errno != EEXIST) break;
  }
  name.clear();
  return -1;
}

// Filesystems that write a changed block anew (their magic numbers, linux/magic.h): btrfs,
// bcachefs, XFS (shared extents after a reflink copy) and ZFS.
bool CopiesOnWrite(long type) {
  for (const long magic : {0x9123683EL, 0xCA451A4EL, 0x58465342L, 0x2FC12FC1L}) {
    if (type == magic) return true;
  }
  return false;
}
// Room beyond the new content that a copy-on-write filesystem keeps for its own records.
constexpr unsigned long long kCopyMargin = 1 << 20;

// The whole file locked as most programs lock one (lockf, fcntl): an open file description's
// record lock, which conflicts with both kinds of record lock held elsewhere. Kernels without
// such locks (before 3.15) leave it to flock.
bool LockRecords(int fd) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  return fcntl(fd, F_OFD_SETLK, &lock) == 0 || errno == EINVAL;
}

// A file in the folder without a name (O_TMPFILE): a save killed before it ends leaves nothing.
// -1 where the filesystem or the missing /proc does not allow it.
int CreateUnnamed(const std::string& folder, unsigned mode) {
  if (::access("/proc/self/fd", X_OK) != 0) return -1;
  return ActiveFileCalls().open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
}

// Gives an unnamed file a name of its own in the folder, or errno.
int NameUnnamed(int fd, const std::string& folder, std::string& name) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = TemporaryName(folder);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      NoteTemporary(name);
      return 0;
    }
    if (errno != EEXIST) break;
  }
  const int error = errno;
  name.clear();
  return error;
}

// Makes a rename in the folder durable; a folder that refuses does no harm.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Gives the new file the owner, group, mode, access lists and extended attributes of the file
// it replaces; false where one of them cannot be kept (then the file is written in place).
bool TakesAttributesOf(int fd, const std::string& target, const struct stat& old) {
  if (fchown(fd, old.st_uid, static_cast<gid_t>(-1)) != 0 && old.st_uid != ::geteuid()) return false;
  if (fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0) return false;
  if (fchmod(fd, old.st_mode & 07777) != 0) return false;
  std::vector<char> names(65536);
  const ssize_t length = ::listxattr(target.c_str(), names.data(), names.size());
  if (length < 0) return errno == ENOTSUP || errno == ENOSYS;
  std::vector<char> value(65536);
  for (const char* name = names.data(); name < names.data() + length; name += std::strlen(name) + 1) {
    const ssize_t size = ::getxattr(target.c_str(), name, value.data(), value.size());
    if (size < 0 || fsetxattr(fd, name, value.data(), static_cast<size_t>(size), 0) != 0) return false;
  }
  return true;
}

// Writes all the bytes at the offset; 0, or errno (ENOSPC where nothing more is taken).
int WriteAt(int fd, const char* bytes, size_t size, off_t at) {
  return ::lseek(fd, at, SEEK_SET) < 0 ? errno : WriteWhole(fd, bytes, size);
}

// The whole content of an open file, or errno.
std::variant<std::string, int> ContentOf(int fd) {
  std::string content;
  char buffer[65536];
  for (off_t at = 0;;) {
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return content;
    content.append(buffer, static_cast<size_t>(n));
    at += n;
  }
}

}  // namespace

int WriteWhole(int fd, const char* bytes, size_t size) {
  for (size_t done = 0; done < size;) {
    const long n = ActiveFileCalls().write(fd, bytes + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return n < 0 ? errno : ENOSPC;
    done += static_cast<size_t>(n);
  }
  return 0;
}

void RemoveTemporaryFilesOnSignals() {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) std::signal(signal, RemoveTemporaryAndEnd);
}

FileCalls& ActiveFileCalls() {
  static FileCalls calls{&SystemOpen, &SystemRead, &SystemWrite, &::fsync, &::rename, &::close};
  return calls;
}

CFile::CFile(const std::string& path, unsigned flags) : m_path(path) {
  if (path.empty() || NameOf(path).empty()) throw CFileException(CFileException::badPath, path);
  if (const std::optional<int> held = HeldDescriptor(path)) {
    m_fd = fcntl(*held, F_DUPFD_CLOEXEC, 0);
    if (m_fd < 0) Fail(errno);
    m_direct = true;
  } else if (flags & modeCreate) {
    OpenToSave();
  } else {
    OpenToRead(flags);
  }
  // Sharing is refused for files; a device or a FIFO is one for the whole system (two programs
  // writing to /dev/null at once must not refuse each other).
  struct stat opened {};
  const bool regular = m_fd >= 0 && fstat(m_fd, &opened) == 0 && S_ISREG(opened.st_mode);
  if ((flags & shareExclusive) && regular && flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
    Abandon();
    throw CFileException(CFileException::sharingViolation, m_path);
  }
}

void CFile::OpenToRead(unsigned flags) {
  // Without waiting for a writer: what is not a regular file is refused at once.
  m_fd = ActiveFileCalls().open(m_path.c_str(), (flags & modeWrite ? O_WRONLY : O_RDONLY) | O_NONBLOCK | O_CLOEXEC, 0);
  if (m_fd < 0) Fail(errno);
  struct stat info {};
  if (fstat(m_fd, &info) == 0 && S_ISDIR(info.st_mode)) Fail(EISDIR);
  if (fstat(m_fd, &info) == 0 && !S_ISREG(info.st_mode)) Fail(EACCES);
  fcntl(m_fd, F_SETFL, fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
}

void CFile::OpenToSave() {
  const std::variant<std::string, int> resolved = ResolvedLinks(m_path);
  if (const int* refused = std::get_if<int>(&resolved)) Fail(*refused);
  m_target = std::get<std::string>(resolved);
  struct stat target {};
  const bool exists = ::stat(m_target.c_str(), &target) == 0;
  if (exists && m_target != m_path) {
    // The link as the kernel follows it, so that its protections apply too; and the same file.
    const int probe = ::open(m_path.c_str(), O_PATH | O_CLOEXEC);
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
    m_fd = ActiveFileCalls().open(m_target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC, 0);
    if (m_fd < 0 && errno == ENXIO && S_ISFIFO(target.st_mode)) throw CFileException(CFileException::noReader, m_path);
    if (m_fd < 0) Fail(errno);
    fcntl(m_fd, F_SETFL, fcntl(m_fd, F_GETFL) & ~O_NONBLOCK);
    m_direct = true;
    return;
  }
  if (exists && ((target.st_mode & 0222) == 0 || faccessat(AT_FDCWD, m_target.c_str(), W_OK, AT_EACCESS) != 0))
    Fail(EACCES);  // what the user may not write is refused, as creating it anew would replace it
  // Several names for one file: written in place, so that every name shows the new content.
  m_inPlace = exists && target.st_nlink > 1;
  if (!m_inPlace) CreateReplacement(exists ? &target : nullptr);
}

void CFile::CreateReplacement(const struct stat* old) {
  const std::string folder = FolderOf(m_target);
  const unsigned mode = old ? old->st_mode & 07777 : 0666;
  // The temporary file's name and the rename go through the folder's descriptor where /proc
  // shows it: a target whose path is as long as a path may be leaves no room for a longer name
  // beside it in the same path.
  m_folder = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  m_fd = CreateUnnamed(folder, mode);
  m_unnamed = m_fd >= 0;
  if (m_fd < 0) m_fd = CreateNamed(ShortFolder(), mode, m_temporary);
  if (m_fd < 0) {
    const int error = errno;
    struct stat inFolder {};
    // A folder the user may not write: the file is written in place, as it lets itself be.
    if (old && (error == EACCES || error == EPERM)) return void(m_inPlace = true);
    // A folder that takes no new files (/proc) refuses access rather than missing a file.
    Fail(error == ENOENT && ::stat(folder.c_str(), &inFolder) == 0 && S_ISDIR(inFolder.st_mode) ? EACCES : error);
  }
  if (old && !TakesAttributesOf(m_fd, m_target, *old)) {
    Abandon();  // an owner, group or access list that a new file cannot keep: in place
    m_inPlace = true;
  }
}

size_t MemoryStream::Read(void* buffer, size_t size) {
  const size_t n = std::min(size, m_bytes.size() - m_read);
  std::memcpy(buffer, m_bytes.data() + m_read, n);
  m_read += n;
  return n;
}

CFile::~CFile() { Abandon(); }

void CFile::Abandon() {
  if (m_fd >= 0) ActiveFileCalls().close(m_fd);
  m_fd = -1;
  if (!m_temporary.empty()) ::unlink(m_temporary.c_str());
  if (!m_temporary.empty()) NoteTemporary({});
  m_temporary.clear();
  m_unnamed = false;
  if (m_folder >= 0) ::close(m_folder);
  m_folder = -1;
}

std::string CFile::ShortFolder() const {
  if (m_folder >= 0 && ::access("/proc/self/fd", X_OK) == 0) return "/proc/self/fd/" + std::to_string(m_folder);
  return FolderOf(m_target);
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
  if (m_inPlace) return void(m_staged.append(static_cast<const char*>(buffer), size));
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
  if (m_inPlace) {
    m_inPlace = false;
    return WriteInPlace();
  }
  if (m_fd < 0) return;
  FileCalls& calls = ActiveFileCalls();
  if (!m_unnamed && m_temporary.empty()) {  // a file read, or written as it is
    const int fd = std::exchange(m_fd, -1);
    if (calls.close(fd) != 0) Fail(errno);
    return;
  }
  if (calls.fsync(m_fd) != 0) Fail(errno);
  const SignalsHeld held;  // named and renamed as one step
  if (m_unnamed) {
    if (const int error = NameUnnamed(m_fd, ShortFolder(), m_temporary)) Fail(error);
    m_unnamed = false;
  }
  const int fd = std::exchange(m_fd, -1);
  if (calls.close(fd) != 0) Fail(errno);
  if (calls.rename(m_temporary.c_str(), (ShortFolder() + "/" + NameOf(m_target)).c_str()) != 0) Fail(errno);
  m_temporary.clear();
  NoteTemporary({});
  SyncFolder(FolderOf(m_target));
}

// The new content goes into the file itself only when nothing is left that can fail on the way
// with the old content lost: the file is locked (another save or reader holding it refuses this
// one), the size limit allows the content, a whole copy of the old content is kept as a backup
// (Backup) until the new one is complete, and the room for it is taken before the old
// content is overwritten; a failure after that puts the old content back.
void CFile::WriteInPlace() {
  FileCalls& calls = ActiveFileCalls();
  const int target = calls.open(m_target.c_str(), O_RDWR | O_CLOEXEC, 0);
  if (target < 0) Fail(errno);
  m_fd = target;  // closed by Abandon on every failure
  if (flock(target, LOCK_EX | LOCK_NB) != 0 || !LockRecords(target)) {
    Abandon();
    throw CFileException(CFileException::inUse, m_path);
  }
  struct rlimit limit {};
  if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && m_staged.size() > limit.rlim_cur)
    Fail(EFBIG);
  std::variant<std::string, int> read = ContentOf(target);
  if (const int* error = std::get_if<int>(&read)) Fail(*error);
  const std::string old = std::move(std::get<std::string>(read));
  Backup backup;
  {
    const SignalsHeld creating;  // a signal finds the backup noted as soon as it exists
    if (!backup.Create(m_target, old)) {
      const int error = errno;
      Abandon();
      throw CFileException(
          error == EACCES || error == EPERM ? CFileException::noBackupPlace : CFileException::OsErrorToCause(error),
          m_path);
    }
    NoteTemporary(backup.Path());  // until the overwrite begins, the file is whole: a signal removes it
  }
  const SignalsHeld held;
  if (const int refused = ReserveRoom(target, old.size())) {  // nothing overwritten yet
    backup.Remove();
    NoteTemporary({});
    Fail(refused);
  }
  int error = WriteAt(target, m_staged.data(), m_staged.size(), 0);
  if (error == 0 && ftruncate(target, static_cast<off_t>(m_staged.size())) != 0) error = errno;
  if (error == 0 && calls.fsync(target) != 0) error = errno;
  if (error != 0) {
    // The old content back; where even that fails, the backup stays.
    const bool restored = WriteAt(target, old.data(), old.size(), 0) == 0 &&
                          ftruncate(target, static_cast<off_t>(old.size())) == 0 && ::fsync(target) == 0;
    NoteTemporary({});
    if (restored) {
      backup.Remove();
      Fail(error);
    }
    Abandon();  // the backup holds the only whole copy: it stays, and the message names it
    CFileException failure(CFileException::OsErrorToCause(error), m_path);
    failure.m_keptIn = backup.Path();
    throw failure;
  }
  backup.Remove();
  NoteTemporary({});
  m_fd = -1;
  if (calls.close(target) != 0) Fail(errno);
}

// Room for the new content: reserved where the filesystem can (fallocate), otherwise the part
// beyond the old end written there first, which overwrites nothing; 0, or errno with the file
// as it was.
int CFile::ReserveRoom(int fd, size_t oldSize) {
  const off_t size = static_cast<off_t>(m_staged.size());
  // Where the filesystem copies on write (btrfs, bcachefs, XFS with shared extents, ZFS), every
  // block overwritten takes a new one, and fallocate reserves none for that: the free room must
  // hold the whole new content, with a margin for the filesystem's own records.
  struct statfs filesystem {};
  struct statvfs room {};
  if (fstatfs(fd, &filesystem) == 0 && CopiesOnWrite(filesystem.f_type) && fstatvfs(fd, &room) == 0 &&
      static_cast<unsigned long long>(room.f_bavail) * room.f_frsize < m_staged.size() + kCopyMargin)
    return ENOSPC;
  if (fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size) == 0) return 0;
  if (errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL) return errno;
  if (m_staged.size() <= oldSize) return 0;
  const int error = WriteAt(fd, m_staged.data() + oldSize, m_staged.size() - oldSize, static_cast<off_t>(oldSize));
  if (error == 0 && ::fsync(fd) == 0) return 0;
  if (ftruncate(fd, static_cast<off_t>(oldSize)) != 0) return errno;
  return error != 0 ? error : EIO;
}

}  // namespace platform
