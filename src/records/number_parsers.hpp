#pragma once
// Numbers in instrument sentences, files and dialog fields. Every parser skips
// leading blanks, allows trailing blanks and fails on anything else; on failure
// it returns a negative code and leaves its output untouched.
#include <cstdint>
#include <string_view>

namespace trelvik {

inline constexpr int kParseBadText = -1;   // a character where none of its kind may stand
inline constexpr int kParseOverflow = -2;  // more digits than the result can hold

// Optional "+" or "-" (blanks may follow the sign), then digits. Empty or
// all-blank text gives 0; a sign without digits fails. The magnitude must fit
// a signed 32-bit value.
[[nodiscard]] int ParseSignedInt(std::string_view text, int32_t& value);

// Digits only; empty or all-blank text gives 0. Limited like ParseSignedInt.
// Dialog text is UTF-8, so the same routine serves the edit fields.
[[nodiscard]] int ParseUnsignedInt(std::string_view text, int32_t& value);

// Hex digits of either case, at most 32 bits; empty gives 0.
[[nodiscard]] int ParseHexNumber(std::string_view text, uint32_t& value);

// Digits, optional "." or "," and fraction digits; empty gives 0.0.
[[nodiscard]] int ParseUnsignedReal(std::string_view text, double& value);

// Optional sign (blanks may follow it), digits, optional "." or "," and fraction
// digits; empty text fails.
[[nodiscard]] int ParseSignedReal(std::string_view text, double& value);

}  // namespace trelvik
