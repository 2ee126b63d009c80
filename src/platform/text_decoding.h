#pragma once
#include <string>
#include <string_view>

// The bytes of a text file as UTF-8. UTF-16 with a byte-order mark (as Notepad's "Unicode"
// saves it) is converted, with any unpaired surrogate as U+FFFD and an odd last byte dropped;
// a UTF-8 byte-order mark is removed; bytes whose second one is NUL, the first not, are UTF-16 LE
// without its mark; anything else is returned as it is.
std::string DecodeTextFile(std::string_view bytes);
