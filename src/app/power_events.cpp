#include "app/power_events.h"

PowerStep PowerStepFor(unsigned event, bool running, bool stoppedBySuspend)
{
    switch (event) {
    case kPowerQuerySuspend:
    // Since Vista the system no longer asks before a suspend; it only announces it.
    case kPowerSuspend:
        return running ? PowerStep::StopForSuspend : PowerStep::Nothing;
    case kPowerQuerySuspendFailed:
    case kPowerResumeCritical:
    case kPowerResumeSuspend:
    case kPowerResumeAutomatic:
        return stoppedBySuspend ? PowerStep::StartAfterSuspend : PowerStep::Nothing;
    default:
        return PowerStep::Nothing;
    }
}
