#pragma once
// Text of names and remarks on their way in and out. Airspace files come in
// UTF-8 today and in Latin-1 from older tools; the list keeps UTF-8 only, so
// every export and the list view see one encoding.
#include <string>
#include <string_view>

namespace trelvik {

// Valid UTF-8 unchanged; anything else read as Latin-1 (each byte a code point).
std::string FieldToUtf8(std::string_view bytes);

// Character data for an XML element: "<", "&" and ">" as references, and the
// characters XML 1.0 forbids (control characters, U+FFFE, U+FFFF) left out.
std::string XmlText(std::string_view utf8);

// Text inside a single-quoted JavaScript string: quote and backslash escaped.
std::string JsStringText(std::string_view utf8);

}  // namespace trelvik
