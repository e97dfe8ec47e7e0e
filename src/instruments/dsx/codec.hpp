#pragma once
// DSX flight recorder commands without I/O: the requests, the connection
// answer, the flight list and the pilot-data replies, each fed one byte at a
// time.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik::dsx {

inline constexpr std::string_view kV1 = "V1\r";  // open the connection
inline constexpr std::string_view kV4 = "V4\r";  // switch to the fast rate
inline constexpr std::string_view kFL = "FL\r";  // flight list
inline constexpr std::string_view kV0 = "V0\r";  // close the connection
inline constexpr int kSlowBaud = 9600;
inline constexpr int kFastBaud = 38400;

// "F" and the flight number as three digits: send that flight.
std::string F(int flight);
// "E1\r" .. "E5\r": read pilot data item 1..5.
std::string E(int item);
// "H1%s\r" .. "H5%s\r": write item 1..5.
std::string H(int item, std::string_view text);
// "C1%s\r": write the telephone number.
std::string C1(std::string_view telephone);

// Matches "Conn\n\r\r\n#" character by character; a character that does not
// match starts the match again.
class ConnectionMatcher {
 public:
  // True once the whole answer has arrived.
  bool Feed(uint8_t c);

 private:
  size_t matched_ = 0;
};

struct Flight {
  int number = 0;   // 0..999
  int records = 0;  // at most six digits
};

inline constexpr size_t kMaxFlights = 100;

// The lines of the "FL" reply: three digits, a blank, "recs n.", the record
// count and a blank, then any text up to CR or LF. Feed answers 0 or the
// negative code of "E505 Format error %".
class FlightListParser {
 public:
  [[nodiscard]] int Feed(uint8_t c);
  const std::vector<Flight>& Flights() const { return flights_; }

 private:
  enum class State { LineStart, Number, Blank, Label, Count, Rest };
  State state_ = State::LineStart;
  size_t pos_ = 0;  // characters of the current field so far
  Flight flight_;
  std::vector<Flight> flights_;
};

// The five pilot data items and the telephone number, with their limits.
inline constexpr int kPilotItems = 5;
inline constexpr std::array<size_t, kPilotItems + 1> kPilotLimits = {62, 6, 14, 14, 14, 20};
inline constexpr size_t kItemReplyLimit = 80;

// The reply to "En\r": the text up to CR, at most 80 characters kept; LF is
// not part of it.
class ItemReplyCollector {
 public:
  bool Feed(uint8_t c);
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

}  // namespace trelvik::dsx
