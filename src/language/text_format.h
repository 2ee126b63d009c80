#pragma once
// Texts with values in them. A translation may move a value elsewhere in its sentence ("%2$s"), but
// it comes from a file anyone can edit: whatever it says, a value is only ever read from the list
// given, and a placeholder without one stays as written.

#include "language/translation.h"

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

// The box of a file that can't be opened, from every reader and writer of the data files.
inline constexpr const char* kCouldNotOpen = TrLater("could not open %s");

// The pattern with "%s" and "%d" replaced by the next value, "%1$s" ... "%9$s" (or "$d") by that
// value, and "%%" by a percent sign; anything else stays as it is.
std::string FillText(std::string_view pattern, std::initializer_list<std::string_view> values);

// The same into a buffer of so many bytes, cut to it and ended by a NUL; allocates nothing. The
// length written comes back.
std::size_t FillTextInto(char* buffer, std::size_t size, std::string_view pattern,
                         std::initializer_list<std::string_view> values);
