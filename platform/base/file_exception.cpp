#include "platform/base/file_exception.h"

#include "platform/base/field_text.h"

#include <cerrno>

namespace platform {

CFileException::Cause CFileException::OsErrorToCause(int error) {
  switch (error) {
    case ENOENT:
      return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
    case EFAULT:
      return badPath;
    case EMFILE:
    case ENFILE:
      return tooManyOpenFiles;
    case EROFS:
      return readOnlyMedium;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EEXIST:
      return accessDenied;
    case EBADF:
      return invalidFile;
    case EMLINK:
      return directoryFull;
    case ESPIPE:
    case EOVERFLOW:
    case ENXIO:
      return badSeek;
    case EIO:
      return hardIO;
    case ETXTBSY:
    case EBUSY:
      return sharingViolation;
    case EWOULDBLOCK:
    case EDEADLK:
    case ENOLCK:
      return lockViolation;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return diskFull;
    default:
      return genericException;
  }
}

std::string CFileException::GetErrorMessage() const {
  if (!m_keptIn.empty()) {
    CFileException cause(m_cause, m_strFileName);
    return cause.GetErrorMessage() + " Der alte Inhalt ließ sich nicht zurückschreiben; er liegt in " +
           PrintableText(m_keptIn) + ".";
  }
  const std::string name = m_strFileName.empty() ? "eine unbenannte Datei" : PrintableText(m_strFileName);
  switch (m_cause) {
    case fileNotFound:
      return name + " wurde nicht gefunden.";
    case badPath:
      return name + " enthält eine ungültige Pfadangabe.";
    case tooManyOpenFiles:
      return name + " konnte nicht geöffnet werden, da zu viele Dateien geöffnet sind.";
    case accessDenied:
      return "Zugriff auf " + name + " wurde verwehrt.";
    case invalidFile:
      return "Eine ungültige Dateikennung war mit " + name + " verbunden.";
    case directoryFull:
      return name + " konnte nicht erstellt werden, da das Verzeichnis voll ist.";
    case badSeek:
      return "Positionierungsfehler auf " + name + ".";
    case hardIO:
      return "Ein Hardware-E/A-Fehler wurde während des Zugriffs auf " + name + " gemeldet.";
    case sharingViolation:
      return "Eine Zugriffsverletzung ist während des Zugriffs auf " + name + " aufgetreten.";
    case lockViolation:
      return "Eine Sperrverletzung ist während des Zugriffs auf " + name + " aufgetreten.";
    case diskFull:
      return "Beim Zugriff auf " + name + " wurde ein voller Datenträger gemeldet.";
    case endOfFile:
      return "Es wurde versucht, auf eine Stelle hinter dem Ende von " + name + " zuzugreifen.";
    case noReader:
      return "Aus " + name + " liest niemand.";
    case inUse:
      return name + " wird gerade von einem anderen Programm benutzt.";
    case readOnlyMedium:
      return name + " liegt auf einem schreibgeschützten Datenträger.";
    case noBackupPlace:
      return name +
             " wird an Ort und Stelle überschrieben, doch für den alten Inhalt fand sich kein Ort: weder "
             "neben der Datei noch in $XDG_STATE_HOME/tagvaroskop, ~/.local/state/tagvaroskop oder "
             "$TMPDIR/tagvaroskop-UID (eigene Ordner, nur für den Benutzer).";
    case none:
    case genericException:
      break;
  }
  return "Ein unbekannter Fehler ist beim Zugriff auf " + name + " aufgetreten.";
}

}  // namespace platform
