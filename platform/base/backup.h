#pragma once

#include <string>

namespace platform {

// A whole copy of a file's old content while the file is overwritten in place, in a file that
// this save creates: an existing file is never written into, followed or removed, whoever owns
// it. Beside the file as NAME~, or NAME.~1~ to NAME.~9~ where a name is taken or too long; where
// the folder takes no new file, in a folder of the user's own that nobody else may enter
// ($XDG_STATE_HOME/tagvaroskop, ~/.local/state/tagvaroskop or $TMPDIR/tagvaroskop-UID), under the
// file's full path with '!' for '/' (its end and a hash of it where that is too long for a
// name). The folder is made with mode 0700 where it is missing and opened without following a
// link; it is taken only where the descriptor shows a folder of the user's, and a mode of its
// that lets others in is narrowed through the descriptor, so that no other file's mode changes.
class Backup {
 public:
  Backup() = default;
  Backup(const Backup&) = delete;
  Backup& operator=(const Backup&) = delete;
  ~Backup();

  // Makes the backup with the content, written and synced; false with errno where none can be
  // made (a full disk, no usable folder).
  bool Create(const std::string& target, const std::string& content);
  // Removes the file it made (a backup still needed is kept by not calling this).
  void Remove();
  const std::string& Path() const { return m_path; }

  // A folder to make a backup in, by descriptor, how its path is shown, and the backup's name
  // there before a number is added.
  struct Place {
    int folder;
    std::string shown;
    std::string name;
  };

 private:
  // 0 with the backup made in the place, or errno (EEXIST where every name is taken).
  int CreateIn(const Place& place, const std::string& content);

  std::string m_path;  // of the file made, "" before
  int m_folder = -1;   // the folder it lies in
  std::string m_name;  // its name there
};

}  // namespace platform
