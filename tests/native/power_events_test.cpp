#include "app/power_events.h"

#include <gtest/gtest.h>

namespace {

TEST(PowerEvents, OnlyASuspendStopsAndOnlyWhatItStoppedStartsAgain)
{
    struct Case {
        unsigned event;
        bool running;
        bool stoppedBySuspend;
        PowerStep step;
    } cases[] = {
        {kPowerQuerySuspend, true, false, PowerStep::StopForSuspend},
        {kPowerSuspend, true, false, PowerStep::StopForSuspend},
        {kPowerQuerySuspend, false, false, PowerStep::Nothing}, // stopped by the user: stays stopped
        {kPowerSuspend, false, true, PowerStep::Nothing},       // the query already stopped it
        {kPowerQuerySuspendFailed, false, true, PowerStep::StartAfterSuspend},
        {kPowerResumeCritical, false, true, PowerStep::StartAfterSuspend},
        {kPowerResumeSuspend, false, true, PowerStep::StartAfterSuspend},
        {kPowerResumeAutomatic, false, true, PowerStep::StartAfterSuspend},
        {kPowerResumeSuspend, false, false, PowerStep::Nothing},
        {kPowerResumeAutomatic, true, false, PowerStep::Nothing},
        {10, true, true, PowerStep::Nothing}, // a power status change
    };
    for (const Case& c : cases)
        EXPECT_EQ(PowerStepFor(c.event, c.running, c.stoppedBySuspend), c.step)
            << "event " << c.event << " running " << c.running << " stopped by suspend " << c.stoppedBySuspend;
}

} // namespace
