#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <string>

namespace platform {

// The POSIX calls a file makes, replaceable so that tests can make any of them fail.
struct FileCalls {
  int (*open)(const char* path, int flags, unsigned mode);
  long (*read)(int fd, void* buffer, size_t size);
  long (*write)(int fd, const void* buffer, size_t size);
  int (*fsync)(int fd);
  int (*rename)(const char* from, const char* to);
  int (*close)(int fd);
};
FileCalls& ActiveFileCalls();

// Writes all the bytes where the file stands, through ActiveFileCalls(); 0, or errno (ENOSPC
// where nothing more is taken).
int WriteWhole(int fd, const char* bytes, size_t size);

// Where bytes are written and read: a file, or memory.
class ByteStream {
 public:
  virtual ~ByteStream() = default;
  // Reads up to `size` bytes; fewer only at the end.
  virtual size_t Read(void* buffer, size_t size) = 0;
  virtual void Write(const void* buffer, size_t size) = 0;
};

// Bytes in memory: what is written is appended, what is read comes from the start.
class MemoryStream : public ByteStream {
 public:
  size_t Read(void* buffer, size_t size) override;
  void Write(const void* buffer, size_t size) override { m_bytes.append(static_cast<const char*>(buffer), size); }
  const std::string& Bytes() const { return m_bytes; }

 private:
  std::string m_bytes;
  size_t m_read = 0;
};

// From now on SIGINT, SIGTERM and SIGHUP first remove the temporary file of a save in progress,
// then end the program as they would have.
void RemoveTemporaryFilesOnSignals();

// A file opened by its full path; every failure raises a CFileException with the cause and the
// path. A file created for writing is written to a temporary file in the target's folder (without
// a name where the filesystem allows it, otherwise as .tagvaroskop-XXXXXXXX) and takes the
// target's place only when it is closed, with the old file's owner, group, mode, access lists
// and extended attributes: a failed save leaves an existing file as it was. A symbolic link is
// followed and stays, unless another user planted it in a sticky folder; a target the user may
// not write is refused; a FIFO, device or socket is written directly, never replaced (a FIFO
// nobody reads is refused at once). A file that a new file cannot replace whole (several hard
// links, a folder the user may not write, an owner, group or access list a new file cannot keep)
// is written in place when it is closed: locked, with its room taken first and a backup of the
// old content (backup.h) kept until the new content is complete; a failure puts the old
// content back. /dev/stdout, /dev/fd/N and the like are the streams the program holds. Opening
// to read never waits: anything but a regular file is refused at once.
class CFile : public ByteStream {
 public:
  enum OpenFlags : unsigned {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    shareExclusive = 0x0010,
    modeCreate = 0x1000,
  };

  CFile(const std::string& path, unsigned flags);
  ~CFile() override;
  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Reads up to `size` bytes; fewer only at the end of the file.
  size_t Read(void* buffer, size_t size) override;
  void Write(const void* buffer, size_t size) override;
  // Ends the file: a new file is synced and renamed over its target, or written in place.
  void Close();

 private:
  [[noreturn]] void Fail(int error) const;
  void Abandon();
  void OpenToRead(unsigned flags);
  void OpenToSave();
  void CreateReplacement(const struct stat* old);
  void WriteInPlace();
  int ReserveRoom(int fd, size_t oldSize);
  // The target's folder as a short path: through its descriptor in /proc where it can be.
  std::string ShortFolder() const;

  std::string m_path;
  std::string m_target;     // the file a save replaces: the path, or the file its links name
  std::string m_temporary;  // the named file being written, for a new file
  std::string m_staged;     // an in-place save's new content, until it is closed
  bool m_unnamed = false;   // the file being written has no name yet
  bool m_direct = false;    // a save written straight into the target
  bool m_inPlace = false;   // a save staged, then written into the target
  int m_fd = -1;
  int m_folder = -1;  // the target's folder (O_PATH), for a new file's names
};

}  // namespace platform
