#include "trackfiles/dat_track.hpp"

#include <vector>

#include "geo/transverse_mercator.hpp"

namespace trelvik {
namespace {

constexpr const char* kReadCaption = "Decoding track log file";
constexpr uint32_t kModulus = 1431655777;

uint32_t WordAt(std::string_view bytes, size_t index) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + 4 * index;
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

bool IsUtmBand(char band) { return band >= 'C' && band <= 'X' && band != 'I' && band != 'O'; }

TrackFileRead Fail(const char* text) { return TrackFileRead::Failure(text, kReadCaption); }

}  // namespace

uint32_t DatRemainder(std::span<const uint32_t> words) {
  uint64_t r = 0;
  for (const uint32_t word : words) {
    for (int bit = 31; bit >= 0; --bit) {
      r = 2 * r + ((word >> bit) & 1);
      if (r >= kModulus) r -= kModulus;
    }
  }
  return static_cast<uint32_t>(r);
}

TrackFileRead ReadDatTrack(std::string_view bytes) {
  if (bytes.size() < 16) return Fail("File header too small");
  if (bytes.size() % 4 != 0) return Fail("File size not a multiple of 4");
  const uint64_t wordCount = bytes.size() / 4;
  const bool hasAltitude = bytes[4] != 0;
  const uint64_t count = WordAt(bytes, 2);
  if (count == 0) return Fail("Zero track positions");
  const int zone = static_cast<unsigned char>(bytes[14]);
  const char band = bytes[15];
  // The zone and band share the flag's word: a position needs all three.
  if ((static_cast<unsigned char>(bytes[12]) & 0x80) == 0 || zone < 1 || zone > 60 || !IsUtmBand(band)) {
    return Fail("Bad DWORD number 4");
  }
  const uint64_t perPoint = hasAltitude ? 4 : 3;
  const uint64_t pointWords = count * perPoint;  // below 2^34: no overflow in 64 bits
  if (wordCount != pointWords + 5 && wordCount != pointWords + 6) {
    return Fail("File size not consistent with track positions");
  }
  std::vector<uint32_t> words(static_cast<size_t>(wordCount));
  for (size_t i = 0; i < words.size(); ++i) words[i] = WordAt(bytes, i);
  const size_t checked = static_cast<size_t>(pointWords + 5);
  uint32_t sum = 0;
  for (size_t i = 0; i < checked; ++i) sum += words[i];
  if (sum != 0) return Fail("Checksum verification failed");
  if (words.size() > checked &&
      words[checked] != ~DatRemainder(std::span<const uint32_t>(words.data(), checked))) {
    return Fail("Data validation failed");
  }

  TrackFileRead read;
  std::vector<TrackPoint>& points = read.records.points;
  points.resize(static_cast<size_t>(count));
  for (size_t i = 0; i < points.size(); ++i) {
    const uint32_t* p = &words[4 + i * perPoint];
    UtmPosition utm;
    utm.easting = p[1];
    utm.northing = p[2];
    utm.zone = zone;
    utm.band = band;
    const GeoPosition position = UtmToLatLon(utm);
    TrackPoint& point = points[i];
    point.time = p[0];
    point.lat = RadiansToSemicircle(position.lat);
    point.lon = RadiansToSemicircle(position.lon);
    if (hasAltitude) {
      // The low 24 bits, sign-extended.
      point.gpsAlt = static_cast<int32_t>(p[3] << 8) >> 8;
    }
  }
  points.front().flags = kNewSegment;
  return read;
}

}  // namespace trelvik
