#include "garmin/garmin_records.hpp"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace trelvik::sim::garmin {
namespace {

void PutU16(std::string& data, size_t at, uint32_t value) {
  data[at] = static_cast<char>(value & 0xFF);
  data[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void PutU32(std::string& data, size_t at, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) data[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void PutFloat(std::string& data, size_t at, float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  PutU32(data, at, bits);
}

// A fixed-width text field, blank-padded.
void PutFixed(std::string& data, size_t at, const std::string& text, size_t width) {
  for (size_t i = 0; i < width; ++i) data[at + i] = i < text.size() ? text[i] : ' ';
}

void PutPosition(std::string& data, size_t at, const SimWaypoint& w) {
  PutU32(data, at, static_cast<uint32_t>(w.lat));
  PutU32(data, at + 4, static_cast<uint32_t>(w.lon));
}

// The D100-family layout: ident[6], posn, unused[4], cmnt[40], then per type.
std::string Classic(size_t size, const SimWaypoint& w) {
  std::string data(size, '\0');
  PutFixed(data, 0, w.name, 6);
  PutPosition(data, 6, w);
  PutFixed(data, 18, w.comment, 40);
  return data;
}

// D108 / D109 / D110: fixed part, then ident, comment, facility, city,
// address, cross road, each zero-terminated.
std::string Variable(int type, const SimWaypoint& w) {
  const size_t identAt = type == 108 ? 48 : type == 109 ? 52 : 62;
  std::string data(identAt, '\0');
  if (type == 108) {
    data[1] = static_cast<char>(0xFF);  // default colour
    data[3] = 0x60;
  } else {
    data[0] = 0x01;
    data[2] = 0x1F;
    data[3] = type == 109 ? 0x70 : static_cast<char>(0x80);
  }
  PutU16(data, 4, w.symbol);
  for (size_t i = 6; i < 24; ++i) data[i] = static_cast<char>(0xFF);  // subclass: none
  PutU32(data, 24, static_cast<uint32_t>(w.lat));
  PutU32(data, 28, static_cast<uint32_t>(w.lon));
  PutFloat(data, 32, w.alt);
  PutFloat(data, 36, 1.0e25f);                    // depth
  PutFloat(data, 40, 0.0f);                       // proximity distance
  PutFixed(data, 44, "  ", 2);                    // state
  PutFixed(data, 46, "  ", 2);                    // country
  if (type >= 109) PutU32(data, 48, 0xFFFFFFFF);  // ete
  if (type == 110) {
    PutFloat(data, 52, 1.0e25f);  // temperature
    PutU32(data, 56, w.time);
    PutU16(data, 60, 0);  // category
  }
  data += w.name;
  data += '\0';
  data += w.comment;
  data += '\0';
  data += std::string(4, '\0');  // facility, city, address, cross road
  return data;
}

int16_t WholeMetres(float alt) { return std::fabs(alt) < 30000.0f ? static_cast<int16_t>(std::lround(alt)) : 0; }

}  // namespace

std::string EncodeSimWaypoint(int type, const SimWaypoint& w) {
  switch (type) {
    case 100: return Classic(58, w);
    case 101: {
      std::string data = Classic(63, w);
      PutFloat(data, 58, 0.0f);  // proximity distance
      data[62] = static_cast<char>(w.symbol & 0xFF);
      return data;
    }
    case 102:
    case 104: {
      std::string data = Classic(type == 102 ? 64 : 65, w);
      PutFloat(data, 58, 0.0f);
      PutU16(data, 62, w.symbol);
      if (type == 104) data[64] = 4;  // display: symbol with name
      return data;
    }
    case 103: return Classic(60, w);
    case 107: {
      std::string data = Classic(65, w);
      PutFloat(data, 60, 0.0f);
      return data;
    }
    case 108:
    case 109:
    case 110: return Variable(type, w);
    case 150: {
      std::string data(115, '\0');
      PutFixed(data, 0, w.name, 6);
      PutFixed(data, 6, "  ", 2);
      data[8] = 0;  // class: airport
      PutPosition(data, 9, w);
      PutU16(data, 17, static_cast<uint16_t>(WholeMetres(w.alt)));
      PutFixed(data, 19, "", 24);  // city
      PutFixed(data, 43, "", 2);   // state
      PutFixed(data, 45, "", 30);  // facility name
      PutFixed(data, 75, w.comment, 40);
      return data;
    }
    case 151:
    case 152:
    case 154:
    case 155: {
      const size_t size = type <= 152 ? 124 : type == 154 ? 126 : 127;
      std::string data = Classic(size, w);
      PutFloat(data, 58, 0.0f);
      PutFixed(data, 62, "", 30);  // facility
      PutFixed(data, 92, "", 24);  // city
      PutFixed(data, 116, "", 2);  // state
      PutU16(data, 118, static_cast<uint16_t>(WholeMetres(w.alt)));
      PutFixed(data, 120, "", 2);  // country
      data[123] = 4;               // class: user waypoint
      if (type >= 154) PutU16(data, 124, w.symbol);
      return data;
    }
    default: return {};
  }
}

std::string EncodeSimTrackPoint(int type, const SimTrackPoint& p) {
  static const size_t kSizes[] = {13, 21, 25, 17, 23};
  if (type < 300 || type > 304) return {};
  std::string data(kSizes[type - 300], '\0');
  PutU32(data, 0, static_cast<uint32_t>(p.lat));
  PutU32(data, 4, static_cast<uint32_t>(p.lon));
  PutU32(data, 8, p.time);
  switch (type) {
    case 300: data[12] = p.newTrack ? 1 : 0; break;
    case 301:
      PutFloat(data, 12, p.alt);
      PutFloat(data, 16, p.depth);
      data[20] = p.newTrack ? 1 : 0;
      break;
    case 302:
      PutFloat(data, 12, p.alt);
      PutFloat(data, 16, p.depth);
      PutFloat(data, 20, 1.0e25f);  // temperature
      data[24] = p.newTrack ? 1 : 0;
      break;
    case 303:
      PutFloat(data, 12, p.alt);
      data[16] = static_cast<char>(0xFF);  // no heart rate
      break;
    default:
      PutFloat(data, 12, p.alt);
      PutFloat(data, 16, 1.0e25f);  // distance
      data[20] = static_cast<char>(0xFF);
      data[21] = static_cast<char>(0xFF);
      data[22] = 0;
      break;
  }
  return data;
}

std::string EncodeSimTrackHeader(int type, const std::string& name, int index) {
  if (type == 311) {
    std::string data(2, '\0');
    PutU16(data, 0, static_cast<uint32_t>(index));
    return data;
  }
  std::string data(2, '\0');
  data[0] = 1;                          // shown
  data[1] = type == 312 ? 0x10 : 0x0F;  // colour: default / transparent
  data += name;
  data += '\0';
  return data;
}

std::vector<SimWaypoint> SampleWaypoints() {
  auto semicircles = [](double degrees) { return static_cast<int32_t>(std::lround(degrees * 2147483648.0 / 180.0)); };
  return {
      {"FIESCH", "Fiesch launch", semicircles(46.4243), semicircles(8.135), 2240.4f, 18, 0xFFFFFFFF},
      {"LAND", "landing field", semicircles(46.4010), semicircles(8.1380), 1049.6f, 0x4000, 0xFFFFFFFF},
      {"SOUTH", "South West", semicircles(-33.8417), semicircles(-151.2042), 1.0e25f, 18, 0xFFFFFFFF},
      {"BLANKS", "  two  blanks  ", semicircles(47.0), semicircles(8.0), -12.5f, 18, 0xFFFFFFFF},
  };
}

uint32_t GarminTime(int year, int month, int day, int seconds) {
  // Days from 1970-01-01 of a civil date (proleptic Gregorian).
  const int y = year - (month <= 2 ? 1 : 0);
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const int64_t days = static_cast<int64_t>(era) * 146097 + doe - 719468;
  constexpr int64_t kDaysTo19891231 = 7304;
  return static_cast<uint32_t>((days - kDaysTo19891231) * 86400 + seconds);
}

bool TrackFromIgc(const std::string& igc, const std::string& name, SimTrack& track) {
  track = SimTrack{name, {}};
  int day = 0, month = 0, year = 0;
  size_t start = 0;
  int lastSeconds = -1;
  int dayOffset = 0;
  while (start < igc.size()) {
    size_t end = igc.find('\n', start);
    if (end == std::string::npos) end = igc.size();
    std::string line = igc.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.starts_with("HFDTE")) {
      const size_t digits = line.find_first_of("0123456789");
      if (digits != std::string::npos && line.size() >= digits + 6) {
        day = std::atoi(line.substr(digits, 2).c_str());
        month = std::atoi(line.substr(digits + 2, 2).c_str());
        year = 2000 + std::atoi(line.substr(digits + 4, 2).c_str());
      }
      continue;
    }
    if (line.size() < 35 || line[0] != 'B' || day == 0) continue;
    const int seconds = std::atoi(line.substr(1, 2).c_str()) * 3600 + std::atoi(line.substr(3, 2).c_str()) * 60 +
                        std::atoi(line.substr(5, 2).c_str());
    if (seconds < lastSeconds) ++dayOffset;  // past midnight
    lastSeconds = seconds;
    const double lat = std::atoi(line.substr(7, 2).c_str()) + std::atoi(line.substr(9, 5).c_str()) / 60000.0;
    const double lon = std::atoi(line.substr(15, 3).c_str()) + std::atoi(line.substr(18, 5).c_str()) / 60000.0;
    SimTrackPoint point;
    point.lat = static_cast<int32_t>(std::lround((line[14] == 'S' ? -lat : lat) * 2147483648.0 / 180.0));
    point.lon = static_cast<int32_t>(std::lround((line[23] == 'W' ? -lon : lon) * 2147483648.0 / 180.0));
    point.time = GarminTime(year, month, day, seconds) + static_cast<uint32_t>(dayOffset) * 86400;
    point.alt = static_cast<float>(std::atoi(line.substr(30, 5).c_str()));
    point.newTrack = track.points.empty();
    track.points.push_back(point);
  }
  return !track.points.empty();
}

}  // namespace trelvik::sim::garmin
