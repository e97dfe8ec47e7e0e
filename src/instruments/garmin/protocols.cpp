#include "instruments/garmin/protocols.hpp"

namespace trelvik::garmin {
namespace {

// The application protocol whose 'D' entries are being read.
enum class Open { None, Waypoint, Route, Track, Proximity, Almanac };

void TakeDataType(Open open, uint16_t d, GarminProtocolSet& set) {
  switch (open) {
    case Open::None: return;
    case Open::Waypoint:
      if (IsSupportedWaypointType(d)) set.waypointType = d;
      return;
    case Open::Route:
      if (d >= 200 && d <= 202) {
        set.routeHeaderType = d;
      } else if (d == 210) {
        set.routeLinkType = d;
      } else if (IsSupportedWaypointType(d)) {
        set.routeWaypointType = d;
      }
      return;
    case Open::Track:
      if (IsSupportedTrackPointType(d)) {
        set.trackPointType = d;
      } else if (d >= 310 && d <= 312) {
        set.trackHeaderType = d;
      }
      return;
    case Open::Proximity:
      if (d == 400 || d == 403 || d == 450) set.proximityType = d;
      return;
    case Open::Almanac:
      if (d == 500 || d == 501 || d == 550 || d == 551) set.almanacType = d;
      return;
  }
}

Open OpenApplication(uint16_t a, GarminProtocolSet& set) {
  switch (a) {
    case 10:
    case 11: set.deviceCommand = a; return Open::None;
    case 100: set.waypointTransfer = a; return Open::Waypoint;
    case 200:
    case 201: set.routeTransfer = a; return Open::Route;
    case 300:
    case 301:
    case 302: set.trackTransfer = a; return Open::Track;
    case 400: set.proximityTransfer = a; return Open::Proximity;
    case 500: set.almanacTransfer = a; return Open::Almanac;
    default: return Open::None;
  }
}

}  // namespace

bool IsSupportedWaypointType(uint16_t type) {
  return (type >= 100 && type <= 104) || (type >= 107 && type <= 110) || (type >= 150 && type <= 152) || type == 154 ||
         type == 155;
}

bool IsSupportedTrackPointType(uint16_t type) { return type >= 300 && type <= 304; }

int ParseProtocolArray(std::span<const uint8_t> bytes, GarminProtocolSet& set) {
  Open open = Open::None;
  bool inApplication = false;  // 'D' entries belong to the entry before them
  for (size_t at = 0; at + 3 <= bytes.size(); at += 3) {
    const char tag = static_cast<char>(bytes[at]);
    const uint16_t number = static_cast<uint16_t>(bytes[at + 1] | bytes[at + 2] << 8);
    switch (tag) {
      case 'P':
        set.physical = number;
        open = Open::None;
        inApplication = true;
        break;
      case 'L':
        set.link = number;
        open = Open::None;
        inApplication = true;
        break;
      case 'T':
        set.transmission = number;
        open = Open::None;
        inApplication = true;
        break;
      case 'A':
        open = OpenApplication(number, set);
        inApplication = true;
        break;
      case 'D':
        if (!inApplication) return -1;
        TakeDataType(open, number, set);
        break;
      default: return -1;
    }
  }
  return 0;
}

ProtocolCheck CheckProtocols(const GarminProtocolSet& set) {
  if (set.link != 1) return ProtocolCheck::UnsupportedLink;
  if (set.deviceCommand != 10) return ProtocolCheck::UnsupportedDeviceCommand;
  if (set.waypointTransfer == 100) {
    if (!IsSupportedWaypointType(set.waypointType)) return ProtocolCheck::UnsupportedWaypointType;
  } else if (set.waypointTransfer != 0) {
    return ProtocolCheck::UnsupportedWaypointTransfer;
  }
  if (set.trackTransfer != 0 &&
      (set.trackTransfer < 300 || set.trackTransfer > 302 || !IsSupportedTrackPointType(set.trackPointType))) {
    return ProtocolCheck::UnsupportedTrackType;
  }
  return ProtocolCheck::Ok;
}

std::string_view ProtocolCheckText(ProtocolCheck check) {
  switch (check) {
    case ProtocolCheck::Ok: return "";
    case ProtocolCheck::UnsupportedLink: return "E180 Unsupported link protocol";
    case ProtocolCheck::UnsupportedDeviceCommand: return "E181 Unsupported device command protocol";
    case ProtocolCheck::UnsupportedWaypointTransfer: return "E182 Unsupported waypoint transfer protocol";
    case ProtocolCheck::UnsupportedWaypointType: return "E183 Unsupported waypoint data type";
    case ProtocolCheck::UnsupportedTrackType: return "E185 Unsupported track log data type";
  }
  return "";
}

}  // namespace trelvik::garmin
