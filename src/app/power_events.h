#pragma once

// The system's power notifications, by their values.
constexpr unsigned kPowerQuerySuspend = 0;
constexpr unsigned kPowerQuerySuspendFailed = 2;
constexpr unsigned kPowerSuspend = 4;
constexpr unsigned kPowerResumeCritical = 6;
constexpr unsigned kPowerResumeSuspend = 7;
constexpr unsigned kPowerResumeAutomatic = 18;

enum class PowerStep { Nothing, StopForSuspend, StartAfterSuspend };

// What a power notification asks of supervision: a suspend stops it so that the time asleep is
// never counted, and only a supervision stopped that way starts again afterwards.
PowerStep PowerStepFor(unsigned event, bool running, bool stoppedBySuspend);
