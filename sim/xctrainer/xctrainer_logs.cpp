#include "xctrainer/xctrainer_logs.hpp"

#include <cmath>
#include <cstdio>

namespace trelvik::sim {
namespace {

constexpr int64_t kGpsEpochDaysAfter1970 = 3657;  // 1980-01-06
constexpr int kBlockLines = 30;

struct Civil {
  int year, month, day, hour, minute, second;
};

// Seconds since 1970-01-01 of a fix, on the instrument's clock.
int64_t InstrumentTime(const LoggerFix& fix, int32_t utcOffset) {
  return int64_t{GpsEpochSeconds(fix)} + kGpsEpochDaysAfter1970 * 86400 + utcOffset;
}

Civil CivilFromSeconds(int64_t seconds) {
  int64_t z = seconds / 86400 + 719468;
  const int64_t secondOfDay = seconds % 86400;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
  return {year, month, day, static_cast<int>(secondOfDay / 3600), static_cast<int>(secondOfDay / 60 % 60),
          static_cast<int>(secondOfDay % 60)};
}

std::string Format(const char* format, auto... values) {
  char text[128];
  std::snprintf(text, sizeof text, format, values...);
  return text;
}

// Two's complement in `digits` hex digits.
std::string Hex(int64_t value, int digits) {
  const uint64_t mask = (uint64_t{1} << (4 * digits)) - 1;
  return Format("%0*llX", digits, static_cast<unsigned long long>(static_cast<uint64_t>(value) & mask));
}

int64_t Units(double degrees, double perDegree) { return std::llround(degrees * perDegree); }

// The line with its XOR checksum as two hex digits, plus `error`.
std::string Summed(const std::string& body, int error) {
  uint8_t sum = 0;
  for (const char c : body) sum = static_cast<uint8_t>(sum ^ static_cast<uint8_t>(c));
  return body + Hex(static_cast<uint8_t>(sum + error), 2);
}

std::string MxpPosition(const LoggerFix& fix, int record, int64_t offset, int format) {
  std::string line = Hex(record, 4) + Hex(offset, 4) + "03" + Hex(Units(fix.latDegrees, 24000), 6) +
                     Hex(Units(fix.lonDegrees, 24000), 6);
  const int pressure = fix.altMetres - kPressureBelowGps;
  line += Hex(format == 1 ? fix.altMetres : pressure, 4);
  if (format == 2) line += Hex(fix.altMetres, 4);
  return line;
}

std::string TncmHeader(const LoggerFix& first, const SimLogSettings& settings) {
  const Civil date = CivilFromSeconds(InstrumentTime(first, settings.utcOffset));
  const char format = settings.topNav ? '1' : static_cast<char>('0' + settings.format);
  std::string header = std::string("@TNC") + format + Hex(settings.serial, 4) + "V1.00 ";
  header += Format("%02d%02d%02d", date.year - 2000, date.month, date.day) + "00000000" + "1E";
  header += settings.topNav ? " TopNav    " : " XC Trainer";
  header += std::string(28, '0') + "  " + "000000";
  return header;
}

std::string TncmPosition(const LoggerFix& fix, const SimLogSettings& settings) {
  std::string line = Hex(Units(fix.latDegrees, 6000), 6) + Hex(Units(fix.lonDegrees, 6000), 6);
  const int pressure = fix.altMetres - kPressureBelowGps;
  if (settings.topNav || settings.format == 1) {
    line += Hex(fix.altMetres, 4);
  } else {
    line += Hex(pressure, 4);
    if (settings.format == 2) line += Hex(fix.altMetres, 4);
  }
  return line + std::string(14, '0');
}

}  // namespace

std::string MxpLog(const std::vector<LoggerFix>& fixes, const SimLogSettings& settings) {
  const LoggerFix origin = fixes.empty() ? GenerateFixes(1).front() : fixes.front();
  const int32_t offset = settings.topNav ? settings.utcOffset : 0;
  const int64_t start = InstrumentTime(origin, offset);
  const Civil c = CivilFromSeconds(start);
  const int interval = fixes.size() > 1 ? static_cast<int>(fixes[1].secondOfDay - fixes[0].secondOfDay) : 1;
  const int announced = settings.announce >= 0 ? settings.announce : static_cast<int>(fixes.size());
  std::string header = std::string(settings.topNav ? "@tn" : "@xc") + settings.firmware.substr(0, 4) +
                       Hex(settings.serial, 4) + "00" +
                       Format("%02d%02d%02d%02d%02d%02d", c.year - 2000, c.month, c.day, c.hour, c.minute, c.second) +
                       "01" + Hex(announced, 4) + Hex(interval, 2) + static_cast<char>('0' + settings.format) + "00";
  std::string log = Summed(header, settings.badChecksumLine == 0 ? 1 : 0) + "\r\n";
  for (size_t i = 0; i < fixes.size(); ++i) {
    const int number = static_cast<int>(i) + 1;
    const int record = number == settings.repeatRecordLine ? number - 1 : number;
    std::string line = Summed(MxpPosition(fixes[i], record, InstrumentTime(fixes[i], offset) - start, settings.format),
                              number == settings.badChecksumLine ? 1 : 0);
    if (number == settings.shortLine) line.resize(20);
    log += line + "\r\n";
  }
  return log;
}

std::string TncmLog(const std::vector<LoggerFix>& fixes, const SimLogSettings& settings) {
  if (fixes.empty()) return "";
  std::string log = TncmHeader(fixes.front(), settings) + "\r\n";
  int64_t blockTime = InstrumentTime(fixes.front(), settings.utcOffset);
  for (size_t i = 0; i < fixes.size(); ++i) {
    if (i % kBlockLines == 0) {
      if (i > 0) blockTime += settings.blockGap;
      const Civil c = CivilFromSeconds(blockTime);
      log += Format("%02d%02d%02d", c.hour, c.minute, c.second) + "0000" + "1" + "AC" + "0" + "\r\n";
    }
    std::string line = TncmPosition(fixes[i], settings);
    if (settings.badLines.contains(static_cast<int>(i) + 1)) line.replace(0, 6, "ZZZZZZ");
    log += line + "\r\n";
  }
  if (settings.endMark) log += "@EOF\r\n";
  return log;
}

const std::vector<SimTurnpoint>& BuiltInTurnpoints() {
  // XONOFF's latitude is 0x041311 and its longitude 0x001113 sixthousandths of a degree.
  static const std::vector<SimTurnpoint> points = {
      {"FIESCH LNCH", 46.42433, 8.135, 2240},
      {"LANDING", 46.40617, 8.13833, 1050},
      {"XONOFF", 0x041311 / 6000.0, 0x001113 / 6000.0, 500},
      {"SOUTH", -33.84167, -151.20417, 5},
  };
  return points;
}

std::string WaypointRecordBytes(const SimTurnpoint& point, bool badChecksum) {
  std::string record = "@@WP";
  record += '\x80';
  record += static_cast<char>((point.alt >> 8) & 0xFF);
  record += static_cast<char>(point.alt & 0xFF);
  std::string name = point.name.substr(0, 11);
  name.resize(11, ' ');
  record += name;
  record += std::string("NO\x06\x00", 4);
  for (const double degrees : {point.lat, point.lon}) {
    const int64_t units = Units(degrees, 6000);
    for (int shift = 0; shift < 24; shift += 8) record += static_cast<char>((units >> shift) & 0xFF);
  }
  uint8_t sum = 0;
  for (size_t i = 2; i < record.size(); ++i) sum = static_cast<uint8_t>(sum ^ static_cast<uint8_t>(record[i]));
  record += static_cast<char>(sum + (badChecksum ? 1 : 0));
  return record + "\r\n";
}

std::vector<std::string> TopNavWaypointLines(const std::vector<SimTurnpoint>& points) {
  std::vector<std::string> lines = {";TopNavigator turnpoints"};
  const auto angle = [](double degrees, char plus, char minus) {
    const int64_t seconds = std::llround(std::fabs(degrees) * 3600);
    return Format("%c %lld %lld %lld", degrees < 0 ? minus : plus, static_cast<long long>(seconds / 3600),
                  static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
  };
  int number = 0;
  for (const SimTurnpoint& p : points) {
    std::string name = p.name.substr(0, p.name.find(' '));
    if (name.size() < 6) name.resize(6, '_');
    lines.push_back(name + " " + std::to_string(++number) + " TPT " + angle(p.lat, 'N', 'S') + " " +
                    angle(p.lon, 'E', 'W') + " " + std::to_string(p.alt) + " m");
  }
  lines.push_back("HOME 0 HOM N 46 0 0 E 8 0 0 1000 m");
  lines.push_back("@EOF");
  return lines;
}

}  // namespace trelvik::sim
