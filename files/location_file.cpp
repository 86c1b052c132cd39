#include "files/location_file.h"

#include "platform/base/archive.h"
#include "platform/base/field_text.h"

namespace files {

using platform::CArchive;
using platform::CFile;

Place PlaceOf(const solar::ObservationFields& f) {
  return Place{f.latDegrees, f.latArcmin, f.latArcsec, f.lonDegrees, f.lonArcmin, f.lonArcsec};
}

void SetPlace(solar::ObservationFields& f, const Place& p) {
  f.latDegrees = p.latDegrees;
  f.latArcmin = p.latArcmin;
  f.latArcsec = p.latArcsec;
  f.lonDegrees = p.lonDegrees;
  f.lonArcmin = p.lonArcmin;
  f.lonArcsec = p.lonArcsec;
}

bool IsDialogPlace(const Place& p) {
  // Within the field's range, and as the field shows it a number the field reads back (-0 is not).
  const auto within = [](double value, double low, double high) {
    return value >= low && value <= high && platform::ParseFloatField(platform::FormatFloatField(value));
  };
  return within(p.latDegrees, -89, 89) && within(p.latArcmin, 0, 59) && within(p.latArcsec, 0, 59) &&
         within(p.lonDegrees, 0, 359) && within(p.lonArcmin, 0, 59) && within(p.lonArcsec, 0, 59);
}

void WriteLocation(CArchive& ar, const Place& p) {
  ar << p.latDegrees << p.latArcmin << p.latArcsec << p.lonDegrees << p.lonArcmin << p.lonArcsec;
}

void SaveLocation(const std::string& path, const Place& p) {
  CFile file(path, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive);
  CArchive ar(&file, CArchive::store);
  WriteLocation(ar, p);
  ar.Close();
  file.Close();
}

Place LoadLocation(const std::string& path) {
  CFile file(path, CFile::modeRead | CFile::shareExclusive);
  CArchive ar(&file, CArchive::load);
  Place p{};
  ar >> p.latDegrees >> p.latArcmin >> p.latArcsec >> p.lonDegrees >> p.lonArcmin >> p.lonArcsec;
  ar.Close();
  file.Close();
  return p;
}

}  // namespace files
