#include "trackfiles/kml_track_reader.hpp"

#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "base/c_format.hpp"
#include "records/text_buffer.hpp"
#include "trackfiles/kml_hash.hpp"
#include "trackfiles/kml_values.hpp"
#include "trackfiles/xml_attributes.hpp"
#include "trackfiles/xml_text.hpp"
#include "trackfiles/xml_walker.hpp"

namespace trelvik {
namespace {

constexpr const char* kCaption = "Parsing track log file";
constexpr size_t kMaxTracks = 50;
constexpr size_t kAttrLimit = 79;

// Where one track placemark's parts stand in the tokenised text.
struct TrackTexts {
  char* fsInfo = nullptr;  // normalised attribute text of <FsInfo>
  char* offsets = nullptr;
  char* pressure = nullptr;
  bool hasPressure = false;
  char* coordinates = nullptr;
};

enum class State { Outside, Folder, Placemark, Metadata, FsInfo, Offsets, Pressure, LineString, Coordinates };

class TrackWalk : public XmlElementHandler {
 public:
  std::vector<TrackTexts> tracks;
  std::string error;
  bool limitReached = false;

  XmlStep OnStart(const char* name, char* attributes, int depth, const XmlToken&) override {
    const std::string_view tag(name);
    switch (state_) {
      case State::Outside:
        if (tag == "Folder") {
          if (tracks.size() >= kMaxTracks) {
            limitReached = true;
            return XmlStep::Stop;
          }
          folderDepth_ = depth;
          folderHasTrack_ = false;
          state_ = State::Folder;
        }
        break;
      case State::Folder:
        if (tag == "Placemark") {
          placemarkDepth_ = depth;
          current_ = TrackTexts{};
          placemarkHasTrack_ = false;
          state_ = State::Placemark;
        }
        break;
      case State::Placemark:
        if (tag == "Metadata" && depth == placemarkDepth_ + 1) {
          NormalizeSpace(attributes);
          std::string type;
          if (GetXmlAttrText(attributes, "type", type, 30) == 0 && type == "track") {
            if (placemarkHasTrack_) return Fail("Multiple tracks in one <Placemark> element");
            placemarkHasTrack_ = true;
            state_ = State::Metadata;
          }
        } else if (tag == "LineString" && depth == placemarkDepth_ + 1) {
          state_ = State::LineString;
        }
        break;
      case State::Metadata:
        if (tag == "FsInfo" && depth == placemarkDepth_ + 2) {
          NormalizeSpace(attributes);
          current_.fsInfo = attributes;
          state_ = State::FsInfo;
        }
        break;
      case State::FsInfo:
        if (depth == placemarkDepth_ + 3) {
          if (tag == "SecondsFromTimeOfFirstPoint") state_ = State::Offsets;
          if (tag == "PressureAltitude") state_ = State::Pressure;
        }
        break;
      case State::LineString:
        if (tag == "coordinates" && depth == placemarkDepth_ + 2) state_ = State::Coordinates;
        break;
      case State::Offsets:
      case State::Pressure:
      case State::Coordinates:
        break;
    }
    return XmlStep::Continue;
  }

  XmlStep OnEnd(const char* name, char* text, int depth, const XmlToken&) override {
    const std::string_view tag(name);
    const int p = placemarkDepth_;
    switch (state_) {
      case State::Folder:
        if (tag == "Folder" && depth == folderDepth_) state_ = State::Outside;
        break;
      case State::Placemark:
        if (tag == "Placemark" && depth == p) {
          if (placemarkHasTrack_) {
            if (folderHasTrack_) return Fail("Multiple tracks in one <Folder> element");
            folderHasTrack_ = true;
            tracks.push_back(current_);
          }
          state_ = State::Folder;
        }
        break;
      case State::Metadata:
        if (tag == "Metadata" && depth == p + 1) state_ = State::Placemark;
        break;
      case State::FsInfo:
        if (tag == "FsInfo" && depth == p + 2) state_ = State::Metadata;
        break;
      case State::Offsets:
        if (tag == "SecondsFromTimeOfFirstPoint" && depth == p + 3) {
          current_.offsets = text;
          state_ = State::FsInfo;
        }
        break;
      case State::Pressure:
        if (tag == "PressureAltitude" && depth == p + 3) {
          current_.pressure = text;
          current_.hasPressure = true;
          state_ = State::FsInfo;
        }
        break;
      case State::LineString:
        if (tag == "LineString" && depth == p + 1) state_ = State::Placemark;
        break;
      case State::Coordinates:
        if (tag == "coordinates" && depth == p + 2) {
          current_.coordinates = text;
          state_ = State::LineString;
        }
        break;
      case State::Outside:
        break;
    }
    return XmlStep::Continue;
  }

 private:
  XmlStep Fail(const char* message) {
    error = message;
    return XmlStep::Fail;
  }

  State state_ = State::Outside;
  int folderDepth_ = 0;
  int placemarkDepth_ = 0;
  bool folderHasTrack_ = false;
  bool placemarkHasTrack_ = false;
  TrackTexts current_;
};

std::string TimeOfFirstPointLine(const char* fsInfo) {
  std::string value;
  if (GetXmlAttrText(fsInfo, "time_of_first_point", value, kAttrLimit) != 0 || value.empty()) {
    return "Missing track time";
  }
  TrackTime time = 0;
  bool hasZone = false;
  if (ParseXmlDateTime(value.c_str(), time, hasZone) != 0) return "Bad track time";
  return TrackListLine(time);
}

// Turns the chosen track's texts into points and checks its hash; an error
// text on failure.
class TrackDecoder {
 public:
  explicit TrackDecoder(TrackTexts& texts) : texts_(texts) {}

  std::string Decode(TrackFileRecords& result) {
    if (texts_.fsInfo == nullptr || *texts_.fsInfo == '\0') return "No track log information found";
    if (NormalizeSpace(texts_.offsets) == 0) return "No track log time offsets found";
    if (texts_.hasPressure) NormalizeSpace(texts_.pressure);
    if (NormalizeSpace(texts_.coordinates) == 0) return "No track log positions found";

    StartKmlHash(hash_);
    TrackTime base = 0;  // a track without time_of_first_point starts at time 0
    bool hasZone = false;
    std::string value;
    if (GetXmlAttrText(texts_.fsInfo, "time_of_first_point", value, kAttrLimit) == 0 && !value.empty()) {
      if (ParseXmlDateTime(value.c_str(), base, hasZone) != 0) return "Bad time_of_first_point";
      Sha1Update(hash_, value);
    }
    for (const char* name : {"instrument", "downloaded"}) {
      if (GetXmlAttrText(texts_.fsInfo, name, value, kAttrLimit) == 0 && !value.empty()) Sha1Update(hash_, value);
    }
    Sha1Update(hash_, texts_.offsets);

    std::vector<TrackPoint>& points = result.points;
    points.reserve(1000);
    const char* cursor = texts_.offsets;
    int32_t offset = 0;
    int item;
    while ((item = NextKmlInteger(cursor, offset)) == kKmlListItem) {
      TrackPoint point;
      point.flags = points.empty() ? kNewSegment : 0;
      point.time = base + static_cast<uint32_t>(offset);
      points.push_back(point);
    }
    if (item == kKmlListBad) return "Bad <SecondsFromTimeOfFirstPoint> data";

    if (texts_.hasPressure) {
      std::string error = DecodePressure(points);
      if (!error.empty()) return error;
      result.hasPressureAltitude = 1;
    }
    std::string error = DecodeCoordinates(points);
    if (!error.empty()) return error;

    std::string expected;
    const std::string digest = Sha1Final(hash_);
    if (GetXmlAttrText(texts_.fsInfo, "hash", expected, kAttrLimit) == 0 && expected == digest) {
      result.signatureValid = 2;
      result.utcTimes = hasZone ? 1 : 0;
    }
    return {};
  }

 private:
  // Consecutive items whose text is already their hashed form go to the hash
  // as one piece of the file, straight from where they stand.
  class HashRun {
   public:
    explicit HashRun(Sha1State& hash) : hash_(hash) {}
    ~HashRun() { Flush(); }
    void Add(const char* begin, const char* end) {
      if (begin != end_) Flush();
      if (begin_ == nullptr) begin_ = begin;
      end_ = end;
    }
    void Flush() {
      if (begin_ != nullptr) Sha1Update(hash_, std::string_view(begin_, static_cast<size_t>(end_ - begin_)));
      begin_ = nullptr;
      end_ = nullptr;
    }

   private:
    Sha1State& hash_;
    const char* begin_ = nullptr;
    const char* end_ = nullptr;
  };

  // The item that ended at `cursor` (just past its separator, or at the end of the text).
  static std::string_view ItemBefore(const char* itemStart, const char* cursor) {
    const char* end = *cursor == '\0' ? cursor : cursor - 1;
    return std::string_view(itemStart, static_cast<size_t>(end - itemStart));
  }

  // The item's hashed text, followed by a blank unless it is the last: taken
  // from the file when it stands there in that form, else formatted.
  void HashItem(HashRun& run, std::string_view item, bool last, bool canonical) {
    const char* end = item.data() + item.size();
    if (canonical && (last || *end == ' ')) {
      run.Add(item.data(), last ? end : end + 1);
      return;
    }
    run.Flush();
    if (canonical) hashed_.assign(item);  // followed by a separator other than a blank
    if (!last) hashed_ += ' ';
    Sha1Update(hash_, hashed_);
  }

  std::string DecodePressure(std::vector<TrackPoint>& points) {
    const char* cursor = texts_.pressure != nullptr ? texts_.pressure : "";
    HashRun run(hash_);
    for (size_t i = 0; i < points.size(); ++i) {
      int32_t altitude = 0;
      const char* itemStart = cursor;
      const int item = NextKmlInteger(cursor, altitude);
      if (item == kKmlListEnd) return "Bad number of positions in <PressureAltitude>";
      if (item == kKmlListBad) return "Bad <PressureAltitude> data";
      points[i].baroAlt = altitude;
      const std::string_view text = ItemBefore(itemStart, cursor);
      const bool canonical = IsCanonicalKmlInteger(text);
      hashed_.clear();
      if (!canonical) AppendInteger(hashed_, altitude);
      HashItem(run, text, i + 1 == points.size(), canonical);
    }
    if (*cursor != '\0') return "Bad number of positions in <PressureAltitude>";
    return {};
  }

  std::string DecodeCoordinates(std::vector<TrackPoint>& points) {
    const char* cursor = texts_.coordinates;
    HashRun run(hash_);
    for (size_t i = 0;; ++i) {
      KmlCoordinate coordinate;
      const char* itemStart = cursor;
      const int item = NextKmlCoordinate(cursor, coordinate);
      if (item == kKmlListBad) return "Bad <coordinates> data";
      if (item == kKmlListEnd) {
        if (i != points.size()) return "Bad number of positions in <coordinates>";
        return {};
      }
      if (i >= points.size()) return "Bad number of positions in <coordinates>";
      // The hash covers the re-formatted numbers, so 8.5 and 8.500000 are the same text.
      const std::string_view text = ItemBefore(itemStart, cursor);
      const bool canonical = IsCanonicalKmlCoordinate(text);
      hashed_.clear();
      if (!canonical) {
        AppendFixed(hashed_, coordinate.lon, 6);
        hashed_ += ',';
        AppendFixed(hashed_, coordinate.lat, 6);
        hashed_ += ',';
        AppendInteger(hashed_, coordinate.alt);
      }
      HashItem(run, text, i + 1 == points.size(), canonical);
      points[i].lat = DegreesToSemicircle(coordinate.lat);
      points[i].lon = DegreesToSemicircle(coordinate.lon);
      points[i].gpsAlt = coordinate.alt * 10;
    }
  }

  TrackTexts& texts_;
  std::string hashed_;  // one position's hashed text, its storage kept from point to point
  Sha1State hash_;
};

TrackFileRead Read(std::string_view text, const FileTrackChooser& chooseTrack) {
  std::string copy(text);  // the tokenizer writes into its text
  TrackWalk walk;
  const int walked = WalkXml(copy.data(), XmlWalkOptions{}, walk, walk.error);
  if (walked == kXmlWalkFailed) return TrackFileRead::Failure(walk.error, kCaption);
  std::vector<FileNotice> notices;
  if (walk.limitReached) {
    notices.push_back(
        {FileNoticeKind::Warning, CFormat("Number of tracks limited to %d", static_cast<int>(kMaxTracks)), kCaption});
  }
  TrackFileRead result = [&] {
    if (walk.tracks.empty()) return TrackFileRead::Failure("No track log found", kCaption);
    size_t chosen = 0;
    if (walk.tracks.size() > 1 && chooseTrack) {
      TrackListRequest request{"Track List", "Select one of these tracks", "Date / time", "OK", "&Cancel", {}};
      for (const TrackTexts& track : walk.tracks) request.lines.push_back(TimeOfFirstPointLine(track.fsInfo));
      const int line = ChooseTrack(chooseTrack, request);
      if (line == kTrackListCancelled) return TrackFileRead::Cancel();
      if (line < 0) return TrackFileRead::Failure("Dialog box error", "Select track");
      chosen = static_cast<size_t>(line);
    }
    TrackFileRead decoded;
    const std::string error = TrackDecoder(walk.tracks[chosen]).Decode(decoded.records);
    if (!error.empty()) return TrackFileRead::Failure(error, kCaption);
    return decoded;
  }();
  result.notices = std::move(notices);
  return result;
}

}  // namespace

TrackFileRead ReadKmlTrack(std::string_view text, const FileTrackChooser& chooseTrack) {
  try {
    return Read(text, chooseTrack);
  } catch (const std::bad_alloc&) {
    return TrackFileRead::Failure("Track log memory allocation", kCaption);
  }
}

}  // namespace trelvik
