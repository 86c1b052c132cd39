// The main dialog driven as a user drives it, by the scenarios in tests/data/app.
#include "tests/support/scenario.h"

namespace {

class MainDialogScenario : public test_support::ScenarioTest {};

TEST_P(MainDialogScenario, GoesAsWritten) { Run("app/" + GetParam().name + ".scenario"); }

INSTANTIATE_TEST_SUITE_P(Files, MainDialogScenario, testing::ValuesIn(test_support::Scenarios("app")),
                         test_support::FileRowName());

}  // namespace
