#pragma once

#include <string>

#include "dialog_model/year_pick.h"
#include "solar/types.h"

namespace dialog_model {

// What the charts show, in words, for those who cannot see them (a screen reader reads them).
// Clock times are those of the day's minutes as the dialog scans them; numbers are written as
// the dialog's fields write them, with a point.

// The day chart ("Tagesverlauf der Sonne"): the stretch above the horizon, the highest point, the day lengths as the
// fields show them, and the position that the cross marks.
std::string DescribeDayCourse(const solar::DayTrack& track, solar::SunPosition marked);

// The year chart ("Tageslängen im Jahresverlauf"): the range of both day lengths over the year, and the picked values,
// if any.
std::string DescribeYearCourse(const solar::YearSeries& series, const YearPick* picked);

// What a calculation gave, said after it: the height and azimuth with one decimal and a decimal
// comma (as German speech reads numbers), and the sunshine as the fields show it.
std::string SummarizeResult(solar::SunPosition position, solar::HoursAndMinutes sunshine);

}  // namespace dialog_model
