#pragma once
// The two free texts of a KML trip, made safe for an XML file: the title (in a
// CDATA section) and the instrument (an attribute value that is also hashed).
#include <optional>
#include <string>
#include <string_view>

namespace trelvik {

// The title as UTF-8 with "<" and ">" as &lt; and &gt;. Characters that XML
// cannot carry (control characters other than tab, CR and LF; U+FFFE, U+FFFF)
// become blanks. Nothing when the title is not valid UTF-8, the system's
// "cannot be converted to wide characters".
[[nodiscard]] std::optional<std::string> KmlTitleText(std::string_view title);

// The instrument attribute's value exactly as written and hashed: the text cut
// to 79 bytes (never inside a UTF-8 character), bytes that are not UTF-8 taken
// as Latin-1, control characters as blanks, white space normalised, and
// '"', '&', '<', '>' written as entities, still at most 79 bytes so that a
// reader that takes 79 characters of the attribute hashes the same text.
// Empty when nothing is left.
std::string KmlInstrumentText(std::string_view instrument);

}  // namespace trelvik
