#pragma once
// printf-style formatting and number parsing that never follow the user's locale.
// Files, protocol sentences, network messages and status lines always use "."
// as the decimal point, whatever LC_NUMERIC the desktop (or Qt) has set.
#include <cstdarg>
#include <optional>
#include <string>
#include <string_view>

namespace trelvik {

// Formats like snprintf in the "C" locale.
std::string CFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string CFormatV(const char* format, va_list args);

// Appends `value` as CFormat("%.<decimals>f") and CFormat("%lld") would, at a
// fraction of their cost, for texts of many numbers.
void AppendFixed(std::string& out, double value, int decimals);
void AppendInteger(std::string& out, long long value);

// Parses a whole text as a double in the "C" locale (leading and trailing blanks
// allowed); nothing on any other character.
std::optional<double> ParseDoubleC(std::string_view text);

}  // namespace trelvik
