#include "trackfiles/xml_text.hpp"

#include <cstdint>

namespace trelvik {
namespace {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One or more digits; false on none or on a value above 65535.
bool Number(const char*& p, uint32_t& value) {
  if (!IsDigit(*p)) return false;
  value = 0;
  while (IsDigit(*p)) {
    value = value * 10 + static_cast<uint32_t>(*p - '0');
    if (value > 65535) return false;
    ++p;
  }
  return true;
}

// Exactly two digits.
bool TwoDigits(const char*& p, uint32_t& value) {
  if (!IsDigit(p[0]) || !IsDigit(p[1])) return false;
  value = static_cast<uint32_t>((p[0] - '0') * 10 + (p[1] - '0'));
  p += 2;
  return true;
}

bool Separator(const char*& p, char c) {
  if (*p != c) return false;
  ++p;
  return true;
}

// "+" or "-" and its hours, minutes, seconds: the offset in seconds.
bool ZoneOffset(const char*& p, uint32_t& offset) {
  uint32_t hours = 0, minutes = 0, seconds = 0;
  if (!TwoDigits(p, hours)) return false;
  const char* q = p;
  if (*q == ':') ++q;
  if (TwoDigits(q, minutes)) {
    p = q;
    if (*q == ':') ++q;
    if (TwoDigits(q, seconds)) p = q;
  }
  offset = hours * 3600 + minutes * 60 + seconds;
  return true;
}

}  // namespace

int ParseXmlDateTime(const char* text, TrackTime& time, bool& hasZone) {
  if (text == nullptr) return -1;
  const char* p = text;
  uint32_t year, month, day, hour, minute, second;
  if (!Number(p, year) || !Separator(p, '-') || !Number(p, month) || !Separator(p, '-') || !Number(p, day) ||
      !Separator(p, 'T') || !Number(p, hour) || !Separator(p, ':') || !Number(p, minute) ||
      !Separator(p, ':') || !Number(p, second)) {
    return -1;
  }
  if (month < 1 || month > 12) return -1;
  uint32_t roundUp = 0;
  if (*p == '.' && IsDigit(p[1])) {
    ++p;
    roundUp = *p >= '5' ? 1 : 0;
    while (IsDigit(*p)) ++p;
  }
  bool zone = false;
  uint32_t offset = 0;
  int sign = 0;
  if (*p == 'Z') {
    ++p;
    zone = true;
  } else if (*p == '+' || *p == '-') {
    sign = *p == '+' ? -1 : 1;  // "+02:00" is two hours ahead of UTC: subtract
    ++p;
    if (!ZoneOffset(p, offset)) return -1;
    zone = true;
  }
  if (*p != '\0') return -1;
  SystemTime date;
  date.year = static_cast<uint16_t>(year);
  date.month = static_cast<uint16_t>(month);
  date.day = static_cast<uint16_t>(day);
  date.hour = static_cast<uint16_t>(hour);
  date.minute = static_cast<uint16_t>(minute);
  date.second = static_cast<uint16_t>(second);
  TrackTime result = TrackTimeFromDate(date) + roundUp;
  if (sign < 0) result -= offset;
  if (sign > 0) result += offset;
  time = result;
  hasZone = zone;
  return 0;
}

size_t Utf8ToWide(std::string_view bytes, char16_t* wide, size_t size) {
  if (size == 0) return 0;
  size_t written = 0;
  size_t i = 0;
  while (i < bytes.size() && written + 1 < size) {
    const auto lead = static_cast<uint8_t>(bytes[i]);
    int continuation;
    uint32_t value;
    if (lead < 0x80) {
      continuation = 0;
      value = lead;
    } else if (lead < 0xC0) {
      ++i;  // a stray continuation byte
      continue;
    } else if (lead < 0xE0) {
      continuation = 1;
      value = lead & 0x1Fu;
    } else if (lead < 0xF0) {
      continuation = 2;
      value = lead & 0x0Fu;
    } else {
      break;  // four-byte sequences (and worse) name values above 0xFFFF
    }
    if (i + static_cast<size_t>(continuation) >= bytes.size()) break;  // cut short
    bool good = true;
    for (int k = 1; k <= continuation; ++k) {
      const auto next = static_cast<uint8_t>(bytes[i + static_cast<size_t>(k)]);
      if ((next & 0xC0u) != 0x80u) {
        good = false;
        break;
      }
      value = (value << 6) | (next & 0x3Fu);
    }
    if (!good) break;
    wide[written++] = static_cast<char16_t>(value);
    i += static_cast<size_t>(continuation) + 1;
  }
  wide[written] = u'\0';
  return written;
}

size_t WideToUtf8(std::u16string_view wide, char* bytes, size_t size) {
  size_t written = 0;
  for (char16_t unit : wide) {
    const size_t need = unit < 0x80 ? 1 : unit < 0x800 ? 2 : 3;
    if (written + need + 1 > size) break;
    if (need == 1) {
      bytes[written++] = static_cast<char>(unit);
    } else if (need == 2) {
      bytes[written++] = static_cast<char>(0xC0 | (unit >> 6));
      bytes[written++] = static_cast<char>(0x80 | (unit & 0x3F));
    } else {
      bytes[written++] = static_cast<char>(0xE0 | (unit >> 12));
      bytes[written++] = static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
      bytes[written++] = static_cast<char>(0x80 | (unit & 0x3F));
    }
  }
  if (size > 0) bytes[written] = '\0';
  return written;
}

}  // namespace trelvik
