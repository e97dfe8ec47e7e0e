#pragma once
// The receiving loop every driver runs: chunks from the job's port until the
// taker has enough, the port fails, the job is aborted or the line stays
// silent too long, and the one report of the failures every such loop ends
// with.
#include <chrono>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "access/gps_job.hpp"

namespace trelvik {

enum class ReadEnd { Stopped, TimedOut, ReadError, Aborted };

// Reads chunks of up to 100 bytes into `take` until it returns false, the port
// fails, the job is aborted or `limit` passes: counted from the last data
// received when `fromLastData`, else from the start. Time is the channel's.
ReadEnd ReadLoop(GpsJob& job, std::chrono::milliseconds limit, bool fromLastData,
                 const std::function<bool(std::span<const uint8_t>)>& take);

// What a taker of ReadOwnTraffic made of a chunk.
enum class Taken {
  Other,   // nothing of the transfer's own (an instrument may stream other sentences meanwhile)
  Own,     // part of the transfer: the silence starts again
  Enough,  // the transfer is complete
};
// As ReadLoop, but the silence `limit` is counted from the last chunk the
// taker called its own, so traffic of no interest cannot keep a transfer alive.
ReadEnd ReadOwnTraffic(GpsJob& job, std::chrono::milliseconds limit,
                       const std::function<Taken(std::span<const uint8_t>)>& take);

// An aborted job ends as aborted, a failed port with the operation's numbered
// read error ("E301 COM port read error") under `caption`: -1 after that
// report. 0 when the loop stopped or timed out, which the caller judges.
[[nodiscard]] int ReportReadFailure(GpsJob& job, ReadEnd end, std::string_view readErrorText,
                                    std::string_view caption);

// How long a transfer whose protocol sets no limit waits for more data: the
// TIMEOUT attempts' worth of silence (a second each, as the identification
// passes count them), so that every wait for an instrument ends.
[[nodiscard]] std::chrono::milliseconds AttemptsSilence(const GpsJob& job);
// The report of such a wait that ran out.
inline constexpr std::string_view kDataTimeoutText = "Timeout while waiting for data";

}  // namespace trelvik
