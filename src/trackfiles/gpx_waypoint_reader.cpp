#include "trackfiles/gpx_waypoint_reader.hpp"

#include <cmath>
#include <new>
#include <string>
#include <strings.h>

#include "base/c_format.hpp"
#include "records/names.hpp"
#include "records/number_parsers.hpp"
#include "records/text_buffer.hpp"
#include "trackfiles/kml_values.hpp"
#include "trackfiles/xml_attributes.hpp"
#include "trackfiles/xml_text.hpp"
#include "trackfiles/xml_references.hpp"
#include "trackfiles/xml_walker.hpp"
#include "trackfiles/xml_waypoint_name.hpp"

namespace trelvik {
namespace {

constexpr const char* kCaption = "Parsing waypoint file";
constexpr double kMaxHeightMetres = 2000000000.0;

// The texts of one <wpt>: null when the element is absent.
struct WptTexts {
  char* attributes = nullptr;
  char* ele = nullptr;
  char* time = nullptr;
  char* name = nullptr;
  char* cmt = nullptr;
  char* desc = nullptr;
  char* type = nullptr;
  bool hasCmt = false;
  bool hasDesc = false;
};

class WptWalk : public XmlElementHandler {
 public:
  WptWalk(bool interactive, const ModifyIdQuestion& ask, TrackTime now) : namer_(interactive, ask), now_(now) {
    waypoints.reserve(50);
  }

  std::vector<Waypoint> waypoints;
  std::string error;  // empty after a cancel

  XmlStep OnStart(const char* name, char* attributes, int depth, const XmlToken&) override {
    const std::string_view tag(name);
    if (tag == "gpx" && depth == 1) {
      inGpx_ = true;
    } else if (tag == "wpt" && depth == 2 && inGpx_) {
      inWpt_ = true;
      wpt_ = WptTexts{};
      wpt_.attributes = attributes;
    }
    return XmlStep::Continue;
  }

  XmlStep OnEnd(const char* name, char* text, int, const XmlToken&) override {
    if (!inWpt_) return XmlStep::Continue;
    const std::string_view tag(name);
    char* value = text != nullptr ? text : empty_;
    if (tag == "ele") wpt_.ele = value;
    if (tag == "time") wpt_.time = value;
    if (tag == "name") wpt_.name = value;
    if (tag == "type") wpt_.type = value;
    if (tag == "cmt") {
      wpt_.cmt = value;
      wpt_.hasCmt = true;
    }
    if (tag == "desc") {
      wpt_.desc = value;
      wpt_.hasDesc = true;
    }
    if (tag == "wpt") {
      inWpt_ = false;
      return Store();
    }
    return XmlStep::Continue;
  }

 private:
  XmlStep Store() {
    const int number = static_cast<int>(waypoints.size()) + 1;
    if (NormalizeSpace(wpt_.attributes) == 0) return Fail(CFormat("Missing position data for waypoint %d", number));
    if (NormalizeSpace(wpt_.name) == 0) return Fail(CFormat("Missing name data for waypoint %d", number));
    std::string cleanName;
    if (const std::optional<XmlStep> step = namer_.CleanForReader(DecodeXmlReferences(wpt_.name), cleanName, number, error)) return *step;
    Waypoint waypoint;
    CopyToField(cleanName, waypoint.name);
    const char* description = wpt_.hasCmt ? wpt_.cmt : wpt_.hasDesc ? wpt_.desc : nullptr;
    if (description != nullptr) CopyToField(CleanDescription(DecodeXmlReferences(description)), waypoint.description);
    NormalizeSpace(wpt_.type);
    waypoint.airport = wpt_.type != nullptr && strcasecmp(wpt_.type, "AIRPORT") == 0 ? 1 : 0;

    waypoint.time = now_;
    if (NormalizeSpace(wpt_.time) > 0) {
      bool hasZone = false;
      if (ParseXmlDateTime(wpt_.time, waypoint.time, hasZone) != 0) {
        return Fail(CFormat("Bad time data for waypoint %d", number));
      }
    }
    if (NormalizeSpace(wpt_.ele) > 0) {
      double ele = 0;
      if (ParseSignedReal(wpt_.ele, ele) != 0 || !(std::fabs(ele) < kMaxHeightMetres)) {
        return Fail(CFormat("Bad height data for waypoint %d", number));
      }
      waypoint.alt = static_cast<int32_t>(ele + 0.5);
    }
    double lat = 0;
    double lon = 0;
    if (GetXmlAttrReal(wpt_.attributes, "lat", lat) != 0 || !(std::fabs(lat) <= 90.0)) {
      return Fail(CFormat("Missing/bad latitude data in waypoint %d", number));
    }
    if (GetXmlAttrReal(wpt_.attributes, "lon", lon) != 0 || !(std::fabs(lon) <= 180.0)) {
      return Fail(CFormat("Missing/bad longitude data in waypoint %d", number));
    }
    waypoint.lat = DegreesToSemicircle(lat);
    waypoint.lon = DegreesToSemicircle(lon);
    waypoints.push_back(waypoint);
    return XmlStep::Continue;
  }

  XmlStep Fail(std::string message) {
    error = std::move(message);
    return XmlStep::Fail;
  }

  XmlWaypointNamer namer_;
  TrackTime now_;
  bool inGpx_ = false;
  bool inWpt_ = false;
  WptTexts wpt_;
  char empty_[1] = {};  // the text of an element written without content
};

}  // namespace

WaypointFileRead ReadGpxWaypoints(std::string_view text, TrackTime now, const ModifyIdQuestion& askModifyId) {
  try {
    std::string copy(text);  // the tokenizer writes into its text
    // Without a question the reading is not interactive: a refused name is an error.
    WptWalk walk(static_cast<bool>(askModifyId), askModifyId, now);
    XmlWalkOptions options;
    options.firstTag = XmlFirstTag::RequireDeclaration;
    if (WalkXml(copy.data(), options, walk, walk.error) == kXmlWalkFailed) {
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
