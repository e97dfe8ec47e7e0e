#pragma once
// The root element of an XML file that begins with its declaration, which is
// how GPX and KML waypoint files are told apart.
#include <string>
#include <string_view>

namespace trelvik {

// The name of the first element after a first tag "?xml" (only the UTF-8
// byte-order mark may stand before it; comments, processing instructions and
// the document type are passed over). Empty when the file is not like that.
[[nodiscard]] std::string XmlRootElement(std::string_view bytes);

}  // namespace trelvik
