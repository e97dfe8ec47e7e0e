#pragma once
// Reading attribute values out of an attribute text as the tokenizer leaves
// it, and the white-space normalisation every XML reader applies to texts.
#include <cstddef>
#include <string>

namespace trelvik {

// Copies the value of attribute `name` (up to its closing quote, at most
// `maximum` characters; longer values are cut) into `value`. 0, or -1 when the
// attribute is absent (value then empty). `attributes` may be null.
[[nodiscard]] int GetXmlAttrText(const char* attributes, const char* name, std::string& value, size_t maximum);

// Optional "+" or "-", decimal digits, then the closing quote. 0; -1 when the
// attribute is absent or its value empty; -2 when it is not such a number (or
// does not fit 32 bits). Nothing is written on failure.
[[nodiscard]] int GetXmlAttrInt(const char* attributes, const char* name, int& value);

// Optional sign, at least one integer digit, optionally "." or "," and
// fraction digits, then the closing quote. 0, -1 (absent or empty) or -2.
[[nodiscard]] int GetXmlAttrReal(const char* attributes, const char* name, double& value);

// In place: every run of blanks, tabs, carriage returns and line feeds becomes
// one blank; leading and trailing blanks go. Returns the new length. Null stays null (0).
size_t NormalizeSpace(char* text);
void NormalizeSpace(std::string& text);

}  // namespace trelvik
