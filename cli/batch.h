#pragma once

#include <istream>
#include <ostream>

#include "cli/day_results.h"
#include "cli/output.h"
#include "cli/time_basis.h"

namespace cli {

// Positions for a stream of CSV lines "DATUM,ZEIT,BREITE,LÄNGE", one result line each, in
// order. Blocks of lines are shared between two threads; memory stays the same however long
// the stream. A wrong line ends the run with its message and status 2.
// A failed read of the input (named `inputName` in the message) or a failed write of the output
// raises a CFileException.
int RunPositionBatch(std::istream& in, const std::string& inputName, std::ostream& out, std::ostream& err,
                     Format format, const TimeBasis& basis);

// Days for a stream of CSV lines "DATUM,BREITE,LÄNGE", each written as `day` writes it (the CSV
// header once, text blocks parted by an empty line), in order, in the same way.
int RunDayBatch(std::istream& in, const std::string& inputName, std::ostream& out, std::ostream& err,
                const DayRequest& request);

}  // namespace cli
