#pragma once
// Value conversions shared by the XML readers and writers: XML date-times and
// the UTF-8 / UTF-16 conversions of texts that go into or come out of a file.
#include <cstddef>
#include <string_view>

#include "records/track_time.hpp"

namespace trelvik {

// year-month-dayThour:minute:second, optionally a fraction (0.5 s or more adds
// a second) and a zone: nothing (hasZone false), "Z", or "+"/"-" hh, optionally
// mm and ss, each of those two optionally after ":". The result is UTC. 0, or
// -1 with nothing written. No calendar range checks, except that a month
// outside 1..12 or a number above 65535 fails: neither has any date to stand for.
[[nodiscard]] int ParseXmlDateTime(const char* text, TrackTime& time, bool& hasZone);

// UTF-8 bytes to UTF-16 in `wide` (room for `size` units including the
// terminator, which is always written when size > 0). A stray continuation
// byte is skipped; a value above 0xFFFF, a bad continuation or a full output
// ends the conversion. Returns the number of units written.
size_t Utf8ToWide(std::string_view bytes, char16_t* wide, size_t size);

// UTF-16 to UTF-8, one to three bytes per unit, stopping before a unit that
// does not fit together with the terminator. Returns the bytes written.
size_t WideToUtf8(std::u16string_view wide, char* bytes, size_t size);

}  // namespace trelvik
