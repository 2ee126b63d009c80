#pragma once
#include "app/supervision_state.h"

#include <cstdint>
#include <string>
#include <string_view>

// The seconds of a countdown from the Settings dialog's field: its leading digits, 0 when there
// are none, held at the largest count a 32-bit counter takes.
std::int32_t CountdownSeconds(std::string_view waitText);

// The break dialog's OK button for a second of its countdown: "OK (Wait n sec)" while counting,
// "OK" at the end.
std::string CountdownCaption(const CountdownStep& step);
