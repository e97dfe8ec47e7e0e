#include "trackfiles/mapsource_file.hpp"

#include <cstring>
#include <functional>

#include "base/c_format.hpp"
#include "records/names.hpp"
#include "trackfiles/windows1252.hpp"

namespace trelvik {
namespace {

constexpr const char* kReadCaption = "Decoding MapSource file";
constexpr std::string_view kSignature("MsRcd\0", 6);
constexpr std::string_view kTrackName = "Trelvik track log source   ";

// Little-endian writing into a record.
class RecordBytes {
 public:
  void Byte(uint8_t value) { bytes_ += static_cast<char>(value); }
  void Bytes(std::string_view text) { bytes_ += text; }
  void Repeat(uint8_t value, size_t count) { bytes_.append(count, static_cast<char>(value)); }
  void U16(uint16_t value) {
    Byte(value & 0xFF);
    Byte(value >> 8);
  }
  void U32(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) Byte((value >> shift) & 0xFF);
  }
  void Double(double value) {
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (int shift = 0; shift < 64; shift += 8) Byte((bits >> shift) & 0xFF);
  }
  void Text(std::string_view utf8) {
    Bytes(Utf8ToWindows1252(utf8));
    Byte(0);
  }
  const std::string& Data() const { return bytes_; }

 private:
  std::string bytes_;
};

void AppendRecord(std::string& file, char type, const RecordBytes& data) {
  RecordBytes head;
  head.U32(static_cast<uint32_t>(data.Data().size()));
  head.Byte(static_cast<uint8_t>(type));
  file += head.Data();
  file += data.Data();
}

std::string Head() {
  std::string file(kSignature);
  RecordBytes version;
  version.Bytes(std::string_view("i\0", 2));
  AppendRecord(file, 'D', version);
  RecordBytes product;
  product.U16(504);
  product.Bytes(std::string_view("SQA\0Nov  6 2003\0" "16:01:32\0", 25));
  AppendRecord(file, 'A', product);
  return file;
}

void AppendEnd(std::string& file) {
  RecordBytes end;
  end.Byte(0);
  end.Byte(1);
  AppendRecord(file, 'V', end);
}

// Little-endian reading, never past `end`.
class RecordReader {
 public:
  RecordReader(std::string_view bytes, size_t at, size_t end) : bytes_(bytes), at_(at), end_(end) {}
  size_t At() const { return at_; }
  bool Left(size_t count) const { return end_ - at_ >= count; }
  bool Skip(size_t count) {
    if (!Left(count)) return false;
    at_ += count;
    return true;
  }
  bool U8(uint8_t& value) {
    if (!Left(1)) return false;
    value = static_cast<uint8_t>(bytes_[at_++]);
    return true;
  }
  bool U32(uint32_t& value) {
    if (!Left(4)) return false;
    value = 0;
    for (int k = 3; k >= 0; --k) value = (value << 8) | static_cast<uint8_t>(bytes_[at_ + k]);
    at_ += 4;
    return true;
  }
  bool Double(double& value) {
    if (!Left(8)) return false;
    uint64_t bits = 0;
    for (int k = 7; k >= 0; --k) bits = (bits << 8) | static_cast<uint8_t>(bytes_[at_ + k]);
    std::memcpy(&value, &bits, sizeof value);
    at_ += 8;
    return true;
  }
  // Text up to its zero byte, which must lie inside the record.
  bool Text(std::string_view& text) {
    const size_t zero = bytes_.substr(0, end_).find('\0', at_);
    if (zero == std::string_view::npos) return false;
    text = bytes_.substr(at_, zero - at_);
    at_ = zero + 1;
    return true;
  }

 private:
  std::string_view bytes_;
  size_t at_;
  size_t end_;
};

struct RecordView {
  char type = 0;
  size_t dataAt = 0;
  size_t length = 0;
};

std::string FormatError(size_t offset) { return CFormat("File format error at %08zxh", offset); }

// Walks the records after the version and product records, handing each to
// `visit` (which returns false with the offset of a fault it found). Returns
// the error text, empty when the walk reached a "V" record at the file's end.
std::string WalkRecords(std::string_view bytes, bool waypoints,
                        const std::function<bool(const RecordView&, size_t&)>& visit) {
  if (!IsMapSourceFile(bytes) || bytes.size() < kSignature.size() + 6 || bytes[kSignature.size() + 4] != 'D') {
    return "Not a MapSource file";
  }
  size_t at = kSignature.size();
  int skipped = 0;
  while (true) {
    if (bytes.size() - at < 5) return FormatError(at);
    uint32_t length = 0;
    RecordReader head(bytes, at, bytes.size());
    (void)head.U32(length);
    const RecordView record{bytes[at + 4], at + 5, length};
    if (bytes.size() - record.dataAt < length) return FormatError(at);
    if (skipped == 0) {
      const char version = length > 0 ? bytes[record.dataAt] : 0;
      // Version "d" waypoints have a layout of their own, which is not read.
      if (version < 'd' || version > 'i' || (waypoints && version == 'd')) return "Unsupported MapSource version";
    }
    const size_t next = record.dataAt + length;
    if (skipped < 2) {
      ++skipped;
    } else if (record.type == 'V') {
      return next == bytes.size() ? std::string() : FormatError(next);
    } else {
      size_t fault = 0;
      if (!visit(record, fault)) return FormatError(fault);
    }
    at = next;
  }
}

bool ReadTrackRecord(std::string_view bytes, const RecordView& record, std::vector<TrackPoint>& points,
                     size_t& fault) {
  const size_t end = record.dataAt + record.length;
  RecordReader reader(bytes, record.dataAt, end);
  std::string_view name;
  uint32_t count = 0;
  if (!reader.Text(name) || !reader.Skip(5) || !reader.U32(count) ||
      31 * uint64_t{count} + name.size() + 10 != record.length) {
    fault = record.dataAt - 5;
    return false;
  }
  points.reserve(points.size() + count);
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t lat = 0, lon = 0, time = 0;
    uint8_t hasAltitude = 0, hasTime = 0;
    double altitude = 0;
    (void)reader.U32(lat);
    (void)reader.U32(lon);
    (void)reader.U8(hasAltitude);
    (void)reader.Double(altitude);
    (void)reader.U8(hasTime);
    (void)reader.U32(time);
    (void)reader.Skip(9);
    TrackPoint point;
    point.flags = i == 0 ? kNewSegment : 0;
    point.lat = static_cast<Semicircle>(lat);
    point.lon = static_cast<Semicircle>(lon);
    // Whole metres, truncated; an altitude beyond any flight counts as none.
    if (hasAltitude == 1 && altitude > -100000 && altitude < 100000) point.gpsAlt = static_cast<int32_t>(altitude) * 10;
    if (hasTime == 1) point.time = time - kUnixSecondsAtTrackTimeZero;
    points.push_back(point);
  }
  return true;
}

// The waypoint's text cut to `size` bytes without splitting a character.
std::string CutUtf8(std::string text, size_t size) {
  if (text.size() <= size) return text;
  size_t cut = size;
  while (cut > 0 && (static_cast<uint8_t>(text[cut]) & 0xC0) == 0x80) --cut;
  text.resize(cut);
  return text;
}

bool ReadWaypointRecord(std::string_view bytes, const RecordView& record, std::vector<Waypoint>& waypoints,
                        size_t& fault) {
  RecordReader reader(bytes, record.dataAt, record.dataAt + record.length);
  std::string_view name, country, description;
  uint32_t lat = 0, lon = 0;
  uint8_t hasAltitude = 0;
  double altitude = 0;
  if (!reader.Text(name) || !reader.Skip(4) || !reader.Text(country) || !reader.Skip(22) || !reader.U32(lat) ||
      !reader.U32(lon) || !reader.U8(hasAltitude) || !reader.Double(altitude) || !reader.Text(description)) {
    fault = reader.At();
    return false;
  }
  std::string cleaned;
  if (CleanWaypointName(FileTextToUtf8(name), true, cleaned) < 0) return true;  // a nameless waypoint is left out
  Waypoint waypoint;
  CopyToField(cleaned, waypoint.name);
  CopyToField(CutUtf8(FileTextToUtf8(description), kWaypointDescriptionLength), waypoint.description);
  waypoint.lat = static_cast<Semicircle>(lat);
  waypoint.lon = static_cast<Semicircle>(lon);
  if (hasAltitude == 1 && altitude > -100000 && altitude < 100000) {
    waypoint.alt = static_cast<int32_t>(altitude >= 0 ? altitude + 0.5 : altitude - 0.5);
  }
  waypoints.push_back(waypoint);
  return true;
}

}  // namespace

bool IsMapSourceFile(std::string_view bytes) { return bytes.substr(0, kSignature.size()) == kSignature; }

FileWriteResult WriteMapSourceTrack(std::span<const TrackPoint> points) {
  std::string file = Head();
  RecordBytes track;
  track.Text(kTrackName);
  track.Byte(1);
  track.U32(0);
  track.U32(static_cast<uint32_t>(points.size()));
  for (const TrackPoint& point : points) {
    track.U32(static_cast<uint32_t>(point.lat));
    track.U32(static_cast<uint32_t>(point.lon));
    track.Byte(1);
    track.Double(point.gpsAlt * 0.1);
    track.Byte(1);
    track.U32(point.time + kUnixSecondsAtTrackTimeZero);
    track.Repeat(0, 9);
  }
  AppendRecord(file, 'T', track);
  AppendEnd(file);
  return {std::move(file), std::nullopt};
}

FileWriteResult WriteMapSourceWaypoints(std::span<const Waypoint> waypoints) {
  std::string file = Head();
  for (const Waypoint& waypoint : waypoints) {
    RecordBytes record;
    record.Text(waypoint.name);
    record.Repeat(0, 9);
    record.Repeat(0xFF, 12);
    record.U16(0);
    record.U32(0xFFFFFFFF);
    record.U32(static_cast<uint32_t>(waypoint.lat));
    record.U32(static_cast<uint32_t>(waypoint.lon));
    record.Byte(1);
    record.Double(waypoint.alt);
    record.Text(waypoint.description);
    record.Repeat(0, 17);
    record.U32(18);
    record.Repeat(0, 20);
    AppendRecord(file, 'W', record);
  }
  AppendEnd(file);
  return {std::move(file), std::nullopt};
}

TrackFileRead ReadMapSourceTrack(std::string_view bytes) {
  TrackFileRead read;
  const std::string error = WalkRecords(bytes, false, [&](const RecordView& record, size_t& fault) {
    return record.type != 'T' || ReadTrackRecord(bytes, record, read.records.points, fault);
  });
  if (!error.empty()) return TrackFileRead::Failure(error, kReadCaption);
  return read;
}

WaypointFileRead ReadMapSourceWaypoints(std::string_view bytes) {
  WaypointFileRead read;
  const std::string error = WalkRecords(bytes, true, [&](const RecordView& record, size_t& fault) {
    return record.type != 'W' || ReadWaypointRecord(bytes, record, read.records.waypoints, fault);
  });
  if (!error.empty()) return WaypointFileRead::Failure(error, kReadCaption);
  return read;
}

}  // namespace trelvik
