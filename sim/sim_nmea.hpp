#pragma once
// NMEA-style sentences as the simulated instruments write and check them.
// Written for the simulator alone, so that a framing mistake in a driver is
// not mirrored here.
#include <string>
#include <string_view>

namespace trelvik::sim {

// "$" + body + "*HH\r\n", the checksum being the XOR of the body's bytes.
std::string Sentence(std::string_view body);
// True for "$body*HH" (no line end) whose checksum matches; `body` receives the part between "$" and "*".
bool ParseSentence(std::string_view line, std::string& body);

}  // namespace trelvik::sim
