#pragma once

#include <string>

#include "platform/base/exception.h"

namespace platform {

// A failed file or stream operation: its cause and, where known, the file's full path.
class CFileException : public CException {
 public:
  enum Cause {
    none,
    genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile,
    noReader,        // a FIFO that nobody reads
    inUse,           // a file another program holds locked
    readOnlyMedium,  // a filesystem mounted read-only
    noBackupPlace,   // an in-place save found no folder for the old content
  };

  CFileException(Cause cause, std::string fileName) : m_cause(cause), m_strFileName(std::move(fileName)) {}

  // The cause of an errno value of the file functions; what has no cause of its own is generic.
  static Cause OsErrorToCause(int error);

  std::string GetErrorMessage() const override;

  Cause m_cause;
  std::string m_strFileName;
  std::string m_keptIn;  // where the old content lies when it could not be put back, else ""
};

}  // namespace platform
