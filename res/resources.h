#pragma once

#include <QImage>

#include "platform/dialog_template.h"
#include "res/ids.h"

namespace res {

extern const platform::DialogTemplate kAboutDialog;       // template 100
extern const platform::DialogTemplate kDayCourseDialog;   // template 102
extern const platform::DialogTemplate kYearCourseDialog;  // template 129

// String table entry, or an empty text for an unknown id.
const char* LoadString(int id);

// Icon 128 at 32 or 16 pixels, bitmap 131 (93 by 125 pixels; at a device pixel ratio the same
// picture drawn with that many more pixels, crisp at any scale).
QImage LoadIcon(int size);
QImage LoadBitmap(int id, double ratio = 1.0);

}  // namespace res
