#include "sim_nmea.hpp"

namespace trelvik::sim {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

unsigned Xor(std::string_view body) {
  unsigned sum = 0;
  for (unsigned char c : body) sum ^= c;
  return sum;
}

int Nibble(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::string Sentence(std::string_view body) {
  const unsigned sum = Xor(body);
  std::string text = "$";
  text.append(body);
  text += '*';
  text += kHex[sum >> 4];
  text += kHex[sum & 15];
  text += "\r\n";
  return text;
}

bool ParseSentence(std::string_view line, std::string& body) {
  if (line.size() < 4 || line[0] != '$') return false;
  const size_t star = line.rfind('*');
  if (star == std::string_view::npos || star + 3 != line.size()) return false;
  const int high = Nibble(line[star + 1]);
  const int low = Nibble(line[star + 2]);
  if (high < 0 || low < 0) return false;
  const std::string_view inner = line.substr(1, star - 1);
  if (Xor(inner) != static_cast<unsigned>(high * 16 + low)) return false;
  body.assign(inner);
  return true;
}

}  // namespace trelvik::sim
