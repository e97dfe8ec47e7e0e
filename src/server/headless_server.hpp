#pragma once
// The TCP command server without a window (`/SERVER=`): it listens until
// SIGINT or SIGTERM, then closes its sessions as the dialog's Close does
// and waits for their jobs to end. Status and session lines go to standard
// output, errors to standard error.
#include "automation/server_endpoint.hpp"
#include "base/headless_user_interface.hpp"

namespace trelvik {

// The exit code: 0 after a stop by signal, 1 when the server could not start.
[[nodiscard]] int RunHeadlessServer(const ServerEndpoint& endpoint, HeadlessUserInterface& console);

}  // namespace trelvik
