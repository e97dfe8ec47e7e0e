#include "trackfiles/kml_waypoint_reader.hpp"

#include <new>
#include <string>

#include "base/c_format.hpp"
#include "records/names.hpp"
#include "records/text_buffer.hpp"
#include "trackfiles/kml_values.hpp"
#include "trackfiles/xml_attributes.hpp"
#include "trackfiles/xml_references.hpp"
#include "trackfiles/xml_walker.hpp"
#include "trackfiles/xml_waypoint_name.hpp"

namespace trelvik {
namespace {

constexpr const char* kCaption = "Parsing waypoint file";

class WaypointWalk : public XmlElementHandler {
 public:
  WaypointWalk(bool interactive, const ModifyIdQuestion& ask, TrackTime now) : namer_(interactive, ask), now_(now) {
    waypoints.reserve(100);
  }

  std::vector<Waypoint> waypoints;
  std::string error;  // empty after a cancel

  XmlStep OnStart(const char* name, char*, int depth, const XmlToken&) override {
    path_[depth - 1] = name;
    if (depth == 3 && Is("Folder", 3)) {
      waypointFolder_ = false;
    } else if (depth == 4 && Is("Placemark", 4) && InFolder()) {
      inPlacemark_ = waypointFolder_;
      name_ = description_ = coordinates_ = nullptr;
      hasName_ = hasCoordinates_ = hasDescription_ = false;
    }
    return XmlStep::Continue;
  }

  XmlStep OnEnd(const char* name, char* text, int depth, const XmlToken&) override {
    const std::string_view tag(name);
    if (depth == 4 && tag == "name" && InFolder()) {
      NormalizeSpace(text);
      waypointFolder_ = text != nullptr && std::string_view(text) == "Waypoints";
    } else if (inPlacemark_ && depth == 5 && Is("Placemark", 4)) {
      if (tag == "name") {
        name_ = text;
        hasName_ = true;
      } else if (tag == "description") {
        description_ = text;
        hasDescription_ = true;
      }
    } else if (inPlacemark_ && depth == 6 && tag == "coordinates" && Is("Placemark", 4) && Is("Point", 5)) {
      coordinates_ = text;
      hasCoordinates_ = true;
    } else if (inPlacemark_ && depth == 4 && tag == "Placemark") {
      inPlacemark_ = false;
      return Store();
    }
    return XmlStep::Continue;
  }

 private:
  bool Is(std::string_view tag, int depth) const { return path_[depth - 1] != nullptr && tag == path_[depth - 1]; }
  bool InFolder() const { return Is("kml", 1) && Is("Document", 2) && Is("Folder", 3); }

  XmlStep Store() {
    const int number = static_cast<int>(waypoints.size()) + 1;
    if (!hasName_ || !hasCoordinates_) return Fail(CFormat("Missing tag(s) for waypoint %d", number));
    if (NormalizeSpace(name_) == 0 || NormalizeSpace(coordinates_) == 0) {
      return Fail(CFormat("Missing data for waypoint %d", number));
    }
    std::string cleanName;
    if (const std::optional<XmlStep> step = namer_.CleanForReader(DecodeXmlReferences(name_), cleanName, number, error)) return *step;
    Waypoint waypoint;
    CopyToField(cleanName, waypoint.name);
    if (hasDescription_) {
      CopyToField(CleanDescription(DecodeXmlReferences(description_ != nullptr ? description_ : "")),
                  waypoint.description);
    }
    waypoint.time = now_;
    waypoint.airport = 0;
    const char* cursor = coordinates_;
    KmlCoordinate coordinate;
    if (NextKmlCoordinate(cursor, coordinate) != kKmlListItem || *cursor != '\0') {
      return Fail("Bad <coordinates> in waypoint " + cleanName);
    }
    waypoint.lat = DegreesToSemicircle(coordinate.lat);
    waypoint.lon = DegreesToSemicircle(coordinate.lon);
    waypoint.alt = coordinate.alt;
    waypoints.push_back(waypoint);
    return XmlStep::Continue;
  }

  XmlStep Fail(std::string message) {
    error = std::move(message);
    return XmlStep::Fail;
  }

  XmlWaypointNamer namer_;
  TrackTime now_;
  const char* path_[kXmlMaxOpenElements] = {};
  bool waypointFolder_ = false;
  bool inPlacemark_ = false;
  char* name_ = nullptr;
  char* description_ = nullptr;
  char* coordinates_ = nullptr;
  bool hasName_ = false;
  bool hasDescription_ = false;
  bool hasCoordinates_ = false;
};

}  // namespace

WaypointFileRead ReadKmlWaypoints(std::string_view text, TrackTime now, const ModifyIdQuestion& askModifyId) {
  try {
    std::string copy(text);  // the tokenizer writes into its text
    // Without a question the reading is not interactive: a refused name is an error.
    WaypointWalk walk(static_cast<bool>(askModifyId), askModifyId, now);
    if (WalkXml(copy.data(), XmlWalkOptions{}, walk, walk.error) == kXmlWalkFailed) {
      if (walk.error.empty()) return WaypointFileRead::Cancel();
      return WaypointFileRead::Failure(walk.error, kCaption);
    }
    WaypointFileRead read;
    read.records.waypoints = std::move(walk.waypoints);
    return read;
  } catch (const std::bad_alloc&) {
    return WaypointFileRead::Failure(std::string(kMemoryAllocationError), kCaption);
  }
}

}  // namespace trelvik
