#pragma once
// The character and entity references of XML text ("&amp;", "&#252;"), which
// a writer that escapes its texts puts into every name and description.
#include <string>
#include <string_view>

namespace trelvik {

// The five predefined entities and decimal or hexadecimal character
// references replaced by their characters (UTF-8); anything else that begins
// with "&" is kept as it stands.
[[nodiscard]] std::string DecodeXmlReferences(std::string_view text);

}  // namespace trelvik
