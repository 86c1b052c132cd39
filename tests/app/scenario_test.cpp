// The main dialog and the year window driven as a user drives them, by the scenarios in
// tests/data/app and tests/data/year.
#include "tests/support/scenario.h"

namespace {

class DialogScenario : public test_support::ScenarioTest {};

TEST_P(DialogScenario, GoesAsWritten) { Run(GetParam().words[0] + "/" + GetParam().name + ".scenario"); }

INSTANTIATE_TEST_SUITE_P(Main, DialogScenario, testing::ValuesIn(test_support::Scenarios("app")),
                         test_support::FileRowName());
INSTANTIATE_TEST_SUITE_P(Year, DialogScenario, testing::ValuesIn(test_support::Scenarios("year")),
                         test_support::FileRowName());

}  // namespace
