// Any text in any field of the main dialog: the reading ends in a value or its message, and a
// failed reading leaves the members of the later fields untouched.
#include <cstdint>
#include <cstring>
#include <string>

#include "app/day_course_dlg.h"
#include "app/sun_app.h"
#include "fuzz/fuzz_support.h"
#include "platform/base/field_text.h"
#include "platform/headless/headless_backend.h"
#include "res/ids.h"

namespace {

// The controls in the order of the exchange, with the byte offset of their member.
struct Step {
  int control;
  size_t offset;
};
const Step kSteps[] = {
    {res::IDC_AZIMUTH, offsetof(solar::ObservationFields, azimuth)},
    {res::IDC_LAT_DEGREES, offsetof(solar::ObservationFields, latDegrees)},
    {res::IDC_LAT_ARCMIN, offsetof(solar::ObservationFields, latArcmin)},
    {res::IDC_LAT_ARCSEC, offsetof(solar::ObservationFields, latArcsec)},
    {res::IDC_DAY, offsetof(solar::ObservationFields, day)},
    {res::IDC_HEIGHT, offsetof(solar::ObservationFields, height)},
    {res::IDC_HOUR, offsetof(solar::ObservationFields, hour)},
    {res::IDC_LON_DEGREES, offsetof(solar::ObservationFields, lonDegrees)},
    {res::IDC_LON_ARCSEC, offsetof(solar::ObservationFields, lonArcsec)},
    {res::IDC_MINUTE, offsetof(solar::ObservationFields, minute)},
    {res::IDC_MONTH, offsetof(solar::ObservationFields, month)},
    {res::IDC_SECOND, offsetof(solar::ObservationFields, second)},
    {res::IDC_YEAR, offsetof(solar::ObservationFields, year)},
    {res::IDC_LON_ARCMIN, offsetof(solar::ObservationFields, lonArcmin)},
    {res::IDC_SUNSHINE_HOURS, offsetof(solar::ObservationFields, sunshineHours)},
    {res::IDC_TWILIGHT_HOURS, offsetof(solar::ObservationFields, twilightHours)},
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  StartGuiApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::optional<int> asInt = platform::ParseIntField(text);
  const std::optional<double> asFloat = platform::ParseFloatField(text);
  FUZZ_CHECK(!asInt || asFloat);  // every integer text is also a number
  FUZZ_CHECK(platform::FirstCharacters(text, 31).size() <= text.size());

  platform::HeadlessBackend ui;
  app::CSunApp app(ui, "tagvaroskop");
  app::CDayCourseDlg dlg(app);
  platform::HeadlessBackend::Window& window = ui.Open(dlg);
  const size_t step = data[0] % std::size(kSteps);
  window.Type(kSteps[step].control, text);
  const solar::ObservationFields before = dlg.m_fields;
  const bool read = dlg.UpdateData(true);
  FUZZ_CHECK(ui.messages.size() == (read ? 0u : 1u));
  if (!read) {
    FUZZ_CHECK(window.Focus() == kSteps[step].control);
    const auto* old = reinterpret_cast<const unsigned char*>(&before);
    const auto* now = reinterpret_cast<const unsigned char*>(&dlg.m_fields);
    for (size_t later = step + 1; later < std::size(kSteps); ++later) {
      FUZZ_CHECK(std::memcmp(old + kSteps[later].offset, now + kSteps[later].offset, 4) == 0);
    }
  }
  window.Click(res::IDC_CALCULATE);  // runs on whatever the members hold
  return 0;
}
