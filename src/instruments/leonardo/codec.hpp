#pragma once
// Digifly Leonardo protocol without I/O: the PDGF sentences, the memory read
// and write requests and the parser of memory replies, the flight list, and
// the waypoint and track records of the instrument's memory.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "records/track_point.hpp"
#include "records/waypoint.hpp"

namespace trelvik::leonardo {

inline constexpr std::string_view kPDGFVID = "$PDGFVID*4E\r\n";
inline constexpr std::string_view kPDGFFLL = "$PDGFFLL*53\r\n";
inline constexpr std::string_view kWriteAck = "$PDGFWMM*42\r\n";

inline constexpr int kWaypointMemory = 1;
inline constexpr int kTrackMemory = 2;
inline constexpr int kPageSize = 4096;
inline constexpr int kWaypointRecord = 44;
inline constexpr int kWaypointsPerPage = 93;
inline constexpr int kTrackRecord = 23;
inline constexpr int kUserWaypointPage = 230;
inline constexpr int kCompetitionWaypointPage = 228;
// Seconds from 1980-01-06 (the instrument's epoch) to 1989-12-31.
inline constexpr uint32_t kEpochOffset = 315100800;

// ---- identity ------------------------------------------------------------------

struct Identity {
  std::string product;   // trimmed, upper case, at most 40
  std::string software;  // at most 20
  std::string serial;    // at most 20
  std::string user;      // at most 40
};
enum class IdentityLine { Identity, NoUser, Other };
// A line without CR LF.
IdentityLine ParseIdentityLine(std::string line, Identity& identity);

// ---- memory --------------------------------------------------------------------

// "$PDGFRMM,kind,page,offset,length*HH" CR LF.
std::string PDGFRMM(int kind, int page, int offset, int length);
// "$PDGFWMM,1,page,offset,length,HH...*HH" CR LF.
std::string PDGFWMM(int page, int offset, std::span<const uint8_t> bytes);

// The answer to a memory read, fed byte by byte: "$PDGFRMM," hex digits "*"
// checksum, up to LF. Codes: -14 the name does not match, -15 no comma after
// it, -16 an odd number of hex digits, -17 more than 99 bytes, -18 a bad hex
// digit in the data, -19 a bad checksum digit, -20 checksum mismatch, -21
// not the byte count requested. Bytes before the "$" are line noise.
class MemoryReply {
 public:
  explicit MemoryReply(int length) : length_(length) {}
  // 0 while the reply goes on, 1 when complete (Data() holds it), or a code.
  int Feed(uint8_t c);
  const std::vector<uint8_t>& Data() const { return data_; }

 private:
  int state_ = 0;
  size_t matched_ = 0;
  int length_;
  uint8_t xor_ = 0;
  int high_ = -1;
  uint8_t checksum_ = 0;
  int sumDigits_ = 0;
  std::vector<uint8_t> data_;
};

// ---- flight list ---------------------------------------------------------------

struct Flight {
  TrackTime start = 0;
  TrackTime end = 0;
  int startPage = 0;
  int startOffset = 0;
  int endPage = 0;
  int endOffset = 0;
};
enum class FlightListError { None, Sentence, Count, Format, EndBeforeStart, Checksum, CountMismatch };
std::string_view FlightListErrorText(FlightListError error);
// The whole "$PDGFFLL,..." line without CR LF; every entry goes to `flights`
// (the caller keeps the first 100).
FlightListError ParseFlightList(std::string_view line, std::vector<Flight>& flights);

// ---- records ---------------------------------------------------------------------

// A 44-byte slot: nullopt when empty (first byte 0xFF, or a blank name).
std::optional<Waypoint> DecodeWaypoint(std::span<const uint8_t> record, TrackTime now);
bool SlotUsed(std::span<const uint8_t> record);
std::array<uint8_t, kWaypointRecord> EncodeWaypoint(const Waypoint& waypoint);

TrackPoint DecodeTrackRecord(std::span<const uint8_t> record);

// Records of a track that a page holds from `offset`: up to the end record
// on the end page, else what fits before the page ends.
int RecordsOnPage(int page, int offset, int endPage, int endOffset);

}  // namespace trelvik::leonardo
