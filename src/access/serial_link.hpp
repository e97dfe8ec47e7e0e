#pragma once
// The serial link as every serial driver uses it: the open loop with its
// retries and countdown, speed changes, writes and the 50 ms bounded read.
// Every byte sent or received is copied to the job's trace here, so drivers
// trace nothing themselves.
#include <chrono>
#include <cstdint>
#include <span>
#include <string_view>

#include "access/gps_job.hpp"

namespace trelvik {

inline constexpr std::chrono::milliseconds kReadChunkTimeout{50};

// The bytes software flow control puts on the line; receivers of text skip them.
inline constexpr uint8_t kXon = 0x11;
inline constexpr uint8_t kXoff = 0x13;
constexpr bool IsFlowControl(uint8_t c) { return c == kXon || c == kXoff; }

// Opens job.portName through job.linkOpener: TIMEOUT attempts (30 by default)
// about a second apart, "Connecting to GPS (%)" counting down. 0 with
// job.port set, or -1 after the failure has been reported.
[[nodiscard]] int OpenSerialPort(GpsJob& job, int baud, bool xonXoff);
// At the protocol's own speed and flow control.
[[nodiscard]] inline int OpenSerialPort(GpsJob& job, const LineSetup& line) {
  return OpenSerialPort(job, line.baud, line.xonXoff);
}
// Reconfigures the open port (keeping its flow control), purges it and pauses 200 ms.
[[nodiscard]] int SetSerialSpeed(GpsJob& job, int baud);
void CloseSerialPort(GpsJob& job);

// 0, or -1 when the bytes could not be sent (the caller reports its numbered error).
[[nodiscard]] int WriteBytes(GpsJob& job, std::span<const uint8_t> bytes);
[[nodiscard]] int WriteText(GpsJob& job, std::string_view text);
// Waits at most 50 ms: the bytes received (0 is normal), or -1 when the port
// failed or the device went away.
[[nodiscard]] int ReadChunk(GpsJob& job, std::span<uint8_t> buffer);

// Write time-out for n bytes: 3 ms a byte at 4800 baud, 2 ms at other speeds,
// plus a fixed allowance so that a busy machine does not fail a short write.
std::chrono::milliseconds WriteTimeout(int baud, size_t n);

}  // namespace trelvik
