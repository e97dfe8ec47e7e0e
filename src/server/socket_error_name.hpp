#pragma once
// Socket errors as the server's messages name them: a POSIX errno under the
// name of its Windows Sockets counterpart ("WSAECONNRESET"), "UNKNOWN" for
// one without.
#include <string_view>

namespace trelvik {

std::string_view SocketErrorName(int errnoValue);

}  // namespace trelvik
