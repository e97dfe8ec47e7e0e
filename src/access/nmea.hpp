#pragma once
// NMEA 0183-style sentences shared by most instrument protocols: the XOR
// checksum, finishing a request, and checking and splitting a reply in place.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace trelvik {

// XOR of the characters after a leading "$" up to "*" or the end.
uint8_t NmeaChecksum(std::string_view text);
// Appends "*HH\r\n" with the checksum in upper-case hex.
void FinishNmeaSentence(std::string& text);

// Results of CheckNmeaSentence below zero.
inline constexpr int kNmeaNoDollar = -1;
inline constexpr int kNmeaBadHex = -2;
inline constexpr int kNmeaTrailing = -3;
inline constexpr int kNmeaChecksumMismatch = -4;
inline constexpr int kNmeaNoStar = -5;

// Checks one received sentence (without CR LF) and splits it in place: "*" and
// every "," before it become NUL bytes. offsets[0] = 0 is the sentence name
// with its "$"; the offsets of the following fields are stored while room is
// left. Returns the number of fields found (possibly more than offsets.size()),
// or one of the negative codes above.
[[nodiscard]] int CheckNmeaSentence(std::span<char> line, std::span<int> offsets);
[[nodiscard]] int CheckNmeaSentence(std::string& line, std::span<int> offsets);

// `text` fit for one field of an outgoing sentence: a comma would shift the
// fields after it, "*" or "$" would end or restart the sentence, and a control
// byte could end the line; each of these becomes `replacement`.
std::string NmeaFieldText(std::string_view text, char replacement);

// The field starting at `offset` of a line split by CheckNmeaSentence.
std::string_view NmeaField(std::string_view line, int offset);

}  // namespace trelvik
