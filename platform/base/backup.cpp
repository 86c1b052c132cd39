#include "platform/base/backup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/file.h"

namespace platform {

namespace {

// The names tried in turn: NAME~, then NAME.~1~ to NAME.~9~ (as numbered backups are named).
std::vector<std::string> NamesFor(const std::string& name) {
  std::vector<std::string> names{name + "~"};
  for (int k = 1; k <= 9; ++k) names.push_back(name + ".~" + std::to_string(k) + "~");
  return names;
}

// The file's full path as one name, '!' for '/'; where that leaves no room for a number, a hash
// of the path and the path's end.
std::string FlatName(const std::string& path) {
  std::string flat = path;
  std::replace(flat.begin(), flat.end(), '/', '!');
  constexpr size_t kRoom = NAME_MAX - 5;  // ".~9~" after it
  if (flat.size() <= kRoom) return flat;
  unsigned long long hash = 0xcbf29ce484222325ULL;  // FNV-1a
  for (const unsigned char c : path) hash = (hash ^ c) * 0x100000001b3ULL;
  char text[20];
  std::snprintf(text, sizeof text, "%016llx!", hash);
  return text + flat.substr(flat.size() - (kRoom - 17));
}

// The folder, made with mode 0700 where it is missing and opened without following a link; -1
// where it is not a folder of the user's. A folder of the user's that lets others in is narrowed
// through its descriptor.
int OpenPrivateFolder(const std::string& folder) {
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(folder).parent_path(), ignored);
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return -1;
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid() ||
      ((info.st_mode & 077) != 0 && fchmod(fd, 0700) != 0)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Where the backup may go, in order: beside the file where its folder takes new files, then the
// user's private folders.
std::vector<Backup::Place> PlacesFor(const std::string& target) {
  std::vector<Backup::Place> places;
  const size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  if (faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) == 0) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) places.push_back(Backup::Place{fd, folder, target.substr(slash == std::string::npos ? 0 : slash + 1)});
  }
  const char* state = std::getenv("XDG_STATE_HOME");
  const char* home = std::getenv("HOME");
  const char* temporary = std::getenv("TMPDIR");
  for (const std::string& own :
       {state && *state ? std::string(state) + "/tagvaroskop" : std::string(),
        home && *home ? std::string(home) + "/.local/state/tagvaroskop" : std::string(),
        std::string(temporary && *temporary ? temporary : "/tmp") + "/tagvaroskop-" + std::to_string(::geteuid())}) {
    if (own.empty()) continue;
    const int fd = OpenPrivateFolder(own);
    if (fd >= 0) places.push_back(Backup::Place{fd, own, FlatName(target)});
  }
  return places;
}

}  // namespace

Backup::~Backup() {
  if (m_folder >= 0) ::close(m_folder);
}

bool Backup::Create(const std::string& target, const std::string& content) {
  int error = EACCES;  // where no place takes a file
  std::vector<Place> places = PlacesFor(target);
  for (Place& place : places) {
    if (m_folder < 0 && (error == EACCES || error == EPERM || error == EROFS || error == EEXIST)) {
      error = CreateIn(place, content);  // a full disk or a failed write ends the search
      if (error == 0) m_folder = std::exchange(place.folder, -1);
    }
    if (place.folder >= 0) ::close(place.folder);
  }
  errno = error;
  return m_folder >= 0;
}

int Backup::CreateIn(const Place& place, const std::string& content) {
  int error = EEXIST;
  for (const std::string& name : NamesFor(place.name)) {
    if (name.size() > NAME_MAX) continue;
    // Made here and now, or not at all: a name that is taken (by anyone, as anything) is passed by.
    const int fd = ::openat(place.folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) return errno;
    error = WriteWhole(fd, content.data(), content.size());
    if (error == 0 && ActiveFileCalls().fsync(fd) != 0) error = errno;
    if (error != 0) {
      ActiveFileCalls().close(fd);
      ::unlinkat(place.folder, name.c_str(), 0);
      return error;
    }
    ActiveFileCalls().close(fd);
    m_name = name;
    m_path = place.shown + "/" + name;
    return 0;
  }
  return error;
}

void Backup::Remove() {
  if (m_folder >= 0 && !m_name.empty()) ::unlinkat(m_folder, m_name.c_str(), 0);
  m_name.clear();
  m_path.clear();
}

}  // namespace platform
