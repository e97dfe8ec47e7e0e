#include "trackfiles/igc_decoder.hpp"

#include <algorithm>
#include <new>
#include <optional>

#include "base/c_format.hpp"
#include "records/text_buffer.hpp"
#include "trackfiles/igc_records.hpp"

namespace trelvik {
namespace {

constexpr size_t kInitialCapacity = 800;  // points; the vector doubles from here

// The text of one line as the decoder sees it: at most kIgcLineLimit characters,
// ending at the first carriage return.
std::string_view VisibleText(std::string_view line) {
  line = line.substr(0, kIgcLineLimit);
  const size_t cr = line.find('\r');
  return cr == std::string_view::npos ? line : line.substr(0, cr);
}

// Lines that begin with "B", counted ahead so that the points are allocated
// once: growing by doubling would touch about twice the memory.
size_t CountBLines(std::string_view bytes) {
  size_t count = !bytes.empty() && bytes.front() == 'B' ? 1 : 0;
  for (size_t lf = bytes.find('\n'); lf != std::string_view::npos; lf = bytes.find('\n', lf + 1)) {
    if (lf + 1 < bytes.size() && bytes[lf + 1] == 'B') ++count;
  }
  return count;
}

template <typename Points>
class IgcDecoder {
 public:
  explicit IgcDecoder(size_t expectedPoints) : expectedPoints_(std::max(expectedPoints, kInitialCapacity)) {}

  // Examines one line; false (with the error set) ends the decoding.
  bool Line(std::string_view line, int32_t lineNumber) {
    if (line.starts_with("HFDTE")) return DateLine(line, lineNumber);
    if (line.starts_with('A')) return ARecord(line);
    if (line.starts_with('B')) return BRecord(line, lineNumber);
    return true;
  }

  BasicIgcDecodeResult<Points> Finish() {
    if (result_.error.empty()) {
      if (!haveARecord_) {
        result_.error = "No A-record found";
      } else if (result_.points.empty()) {
        result_.error = "No positions found";
      }
    }
    if (!result_.error.empty()) result_.points = {};
    return std::move(result_);
  }

  void Fail(std::string error) { result_.error = std::move(error); }

 private:
  bool DateLine(std::string_view line, int32_t lineNumber) {
    const std::optional<TrackTime> parsed = ParseIgcDateLine(line);
    if (date_) {
      // Some recorders write the date in both forms; only a different date is a conflict.
      if (parsed && *parsed == *date_) return true;
      Fail("Multiple date lines");
      return false;
    }
    if (!parsed) {
      Fail(CFormat("Date error %d on line %d", 1, lineNumber));
      return false;
    }
    date_ = *parsed;
    clock_ = TimeOfDayClock(*parsed);
    return true;
  }

  bool ARecord(std::string_view line) {
    if (haveARecord_) {
      Fail("Multiple A-records");
      return false;
    }
    haveARecord_ = true;
    if (line.size() < 4) {
      Fail("Too short A-record");
      return false;
    }
    for (size_t i = 1; i < 4; ++i) {
      if (!IsIgcAlphaNumeric(line[i])) {
        Fail("Bad IGC manufacturer found in the A-record");
        return false;
      }
    }
    result_.maker = std::string(line.substr(1, 3));
    if (line.size() < 5 || line[4] == ' ') {
      result_.serial = "000";
      return true;
    }
    for (size_t i = 4; i < 7; ++i) {
      if (i >= line.size() || !IsIgcAlphaNumeric(line[i])) {
        Fail("Bad serial number found in the A-record");
        return false;
      }
    }
    result_.serial = std::string(line.substr(4, 3));
    return true;
  }

  bool BRecord(std::string_view line, int32_t lineNumber) {
    if (!date_) {
      Fail("Missing date line");
      return false;
    }
    if (line.size() < kIgcBRecordLength) {
      ++result_.skippedRecords;
      return true;
    }
    const IgcBRecordResult parsed = ParseIgcBRecord(line);
    if (parsed.error != 0) {
      Fail(CFormat("Pos. error %d on line %d", parsed.error, lineNumber));
      return false;
    }
    if (result_.points.capacity() == 0) result_.points.reserve(expectedPoints_);
    TrackPoint point;
    point.flags = result_.points.empty() ? kNewSegment : 0;
    point.time = clock_.Next(parsed.record.secondsOfDay);
    point.lat = parsed.record.lat;
    point.lon = parsed.record.lon;
    point.baroAlt = parsed.record.pressureAltitude;
    point.gpsAlt = parsed.record.gpsAltitude * 10;
    result_.points.push_back(point);
    return true;
  }

  BasicIgcDecodeResult<Points> result_;
  size_t expectedPoints_;
  bool haveARecord_ = false;
  std::optional<TrackTime> date_;
  TimeOfDayClock clock_{0};
};

template <typename Points>
BasicIgcDecodeResult<Points> DecodeInto(std::string_view bytes) {
  IgcDecoder<Points> decoder(CountBLines(bytes));
  int32_t failedLine = 0;
  try {
    int32_t lineNumber = 0;
    size_t start = 0;
    while (start < bytes.size()) {
      const size_t lf = bytes.find('\n', start);
      const size_t end = lf == std::string_view::npos ? bytes.size() : lf;
      ++lineNumber;
      // A last line without a line feed counts like any other.
      if (!decoder.Line(VisibleText(bytes.substr(start, end - start)), lineNumber)) {
        failedLine = lineNumber;
        break;
      }
      start = end + 1;
    }
  } catch (const std::bad_alloc&) {
    decoder.Fail(kMemoryAllocationError);
  }
  BasicIgcDecodeResult<Points> result = decoder.Finish();
  if (!result.Ok()) result.errorLine = failedLine;
  return result;
}

}  // namespace

IgcDecodeResult DecodeIgc(std::string_view bytes) { return DecodeInto<std::vector<TrackPoint>>(bytes); }

BasicIgcDecodeResult<BulkTrackPoints> DecodeIgcBulk(std::string_view bytes) {
  return DecodeInto<BulkTrackPoints>(bytes);
}

std::string SkippedRecordsText(int32_t skipped) { return CFormat("%d incomplete position record(s) skipped", skipped); }

}  // namespace trelvik
