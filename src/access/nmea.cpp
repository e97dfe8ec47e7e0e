#include "access/nmea.hpp"

#include "base/c_format.hpp"

namespace trelvik {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

uint8_t NmeaChecksum(std::string_view text) {
  uint8_t sum = 0;
  size_t i = !text.empty() && text[0] == '$' ? 1 : 0;
  for (; i < text.size() && text[i] != '*'; ++i) sum ^= static_cast<uint8_t>(text[i]);
  return sum;
}

void FinishNmeaSentence(std::string& text) { text += CFormat("*%02X\r\n", NmeaChecksum(text)); }

int CheckNmeaSentence(std::span<char> line, std::span<int> offsets) {
  const size_t size = line.size();
  if (size == 0 || line[0] != '$') return kNmeaNoDollar;
  uint8_t sum = 0;
  size_t star = 1;
  for (; star < size && line[star] != '*'; ++star) sum ^= static_cast<uint8_t>(line[star]);
  if (star == size) return kNmeaNoStar;
  line[star] = '\0';
  const int high = star + 1 < size ? HexValue(line[star + 1]) : -1;
  const int low = star + 2 < size ? HexValue(line[star + 2]) : -1;
  if (high < 0 || low < 0) return kNmeaBadHex;
  if (star + 3 < size) return kNmeaTrailing;
  if (((high << 4) | low) != sum) return kNmeaChecksumMismatch;
  int fields = 1;
  size_t filled = 0;
  if (!offsets.empty()) offsets[filled++] = 0;
  for (size_t i = 1; i < star; ++i) {
    if (line[i] != ',') continue;
    line[i] = '\0';
    ++fields;
    if (filled < offsets.size()) offsets[filled++] = static_cast<int>(i + 1);
  }
  return fields;
}

int CheckNmeaSentence(std::string& line, std::span<int> offsets) {
  return CheckNmeaSentence(std::span<char>(line.data(), line.size()), offsets);
}

std::string_view NmeaField(std::string_view line, int offset) {
  if (offset < 0 || static_cast<size_t>(offset) >= line.size()) return {};
  const std::string_view rest = line.substr(static_cast<size_t>(offset));
  return rest.substr(0, rest.find('\0'));
}

std::string NmeaFieldText(std::string_view text, char replacement) {
  std::string field(text);
  for (char& c : field) {
    if (c == ',' || c == '*' || c == '$' || static_cast<unsigned char>(c) < 0x20) c = replacement;
  }
  return field;
}

}  // namespace trelvik
