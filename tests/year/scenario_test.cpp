// The year window driven as a user drives it, by the scenarios in tests/data/year.
#include "tests/support/scenario.h"

namespace {

class YearDialogScenario : public test_support::ScenarioTest {};

TEST_P(YearDialogScenario, GoesAsWritten) { Run("year/" + GetParam().name + ".scenario"); }

INSTANTIATE_TEST_SUITE_P(Files, YearDialogScenario, testing::ValuesIn(test_support::Scenarios("year")),
                         test_support::FileRowName());

}  // namespace
