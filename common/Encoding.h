#pragma once

#include <string>
#include <string_view>

namespace kavo {

// Text inside kavo is UTF-8. The database, the marketplace's query values, export files and the log
// hold GB18030 bytes: identical to GBK for every GBK character, and able to carry any character.

// UTF-8 to GB18030 bytes. Invalid UTF-8 input bytes become "?".
std::string ToGb18030(std::string_view utf8);
// GB18030 (or GBK, its subset) bytes to UTF-8. Undecodable bytes become U+FFFD.
std::string FromGb18030(std::string_view bytes);
// UTF-8 to GBK bytes; a character GBK cannot hold becomes "?".
std::string ToGbk(std::string_view utf8);

bool IsValidUtf8(std::string_view bytes);
// Replaces invalid UTF-8 sequences with U+FFFD so the result is always valid UTF-8.
std::string SanitizeUtf8(std::string_view bytes);

} // namespace kavo
