#pragma once

#include <istream>
#include <ostream>

#include "cli/output.h"
#include "cli/time_basis.h"

namespace cli {

// Positions for a stream of CSV lines "DATUM,ZEIT,BREITE,LÄNGE", one result line each, in
// order. Blocks of lines are shared between two threads; memory stays the same however long
// the stream. A wrong line ends the run with its message and status 2.
int RunPositionBatch(std::istream& in, std::ostream& out, std::ostream& err, Format format,
                     const TimeBasis& basis);

}  // namespace cli
