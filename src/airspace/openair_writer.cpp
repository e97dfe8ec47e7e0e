#include "airspace/openair_writer.hpp"

#include <cmath>
#include <new>

#include "airspace/ctr_selection.hpp"
#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"

namespace trelvik {
namespace {

constexpr double kNauticalMilesPerMetre = 0.000539903;
constexpr int32_t kTenthsPerDegree = 36000;

std::string Position(const LatLonDegrees& p) {
  return OpenAirCoordinate(p.lat, false) + "   " + OpenAirCoordinate(p.lon, true);
}

void AppendSegments(std::string& text, const CtrArea& area) {
  for (const CtrSegment& s : area.segments) {
    switch (s.type) {
      case CtrSegmentType::Point:
        text += "DP " + Position(s.position) + "\r\n";
        break;
      case CtrSegmentType::ArcByPoints:
        text += CFormat("V D = %c\r\n", s.direction);
        text += "V X = " + Position(s.position) + "\r\n";
        text += "DB " + Position(s.start) + ",   " + Position(s.end) + "\r\n";
        break;
      case CtrSegmentType::ArcByAngles:
        text += CFormat("V D = %c\r\n", s.direction);
        text += "V X = " + Position(s.position) + "\r\n";
        text += CFormat("DA %.4f, %.2f, %.2f\r\n", s.radius * kNauticalMilesPerMetre, s.startBearing, s.endBearing);
        break;
      case CtrSegmentType::Circle:
        text += "V X = " + Position(s.position) + "\r\n";
        text += CFormat("DC %.4f\r\n", s.radius * kNauticalMilesPerMetre);
        break;
    }
  }
}

int Failed(UserInterface& ui) {
  ShowError(ui, "File buffer memory allocation error", kMakeCtrBufferCaption);
  return -1;
}

}  // namespace

std::string OpenAirCoordinate(double degrees, bool isLongitude) {
  // Tenths of an arc second, rounded half away from zero; a value that would
  // round up to 90 or 180 degrees stays just below, where the reader accepts it.
  const double limit = (isLongitude ? 180.0 : 90.0) * kTenthsPerDegree - 1;
  const double magnitude = std::fmin(std::fabs(degrees) * kTenthsPerDegree + 0.5, limit);
  const auto v = static_cast<int32_t>(std::isnan(magnitude) ? 0 : magnitude);
  const char hemisphere = isLongitude ? (degrees < 0 ? 'W' : 'E') : (degrees < 0 ? 'S' : 'N');
  return CFormat("%d:%02d:%02d.%d %c", v / kTenthsPerDegree, (v % kTenthsPerDegree) / 600, (v % 600) / 10, v % 10,
                 hemisphere);
}

int FormatCtrOpenAir(UserInterface& ui, const CtrList& list, std::string& text) {
  try {
    std::string out;
    out.reserve(10000);
    bool first = true;
    for (const CtrArea& area : list) {
      if (!area.selected) continue;
      if (!first) out += "\r\n";
      first = false;
      out += "AN " + area.name + "\r\n";
      out += "AL " + area.floorRemark + "\r\n";
      out += "AH " + area.ceilingRemark + "\r\n";
      AppendSegments(out, area);
    }
    text = std::move(out);
    return static_cast<int>(text.size());
  } catch (const std::bad_alloc&) {
    return Failed(ui);
  }
}

int FormatCtrOpenAirForEdit(UserInterface& ui, const CtrArea& area, std::string& text) {
  try {
    std::string out;
    out += "*Airspace name\r\nAN " + area.name + "\r\n";
    out += "*Airspace floor (Remark)\r\nAL " + area.floorRemark + "\r\n";
    out += "*Airspace ceiling\r\nAH " + area.ceilingRemark + "\r\n";
    out += "*Use records V, DP, DA, DB or DC\r\n";
    out += "*Pos. formats: DD.dd... or DD:MM.mm... or DD:MM:SS.s\r\n";
    AppendSegments(out, area);
    text = std::move(out);
    return static_cast<int>(text.size());
  } catch (const std::bad_alloc&) {
    return Failed(ui);
  }
}

bool WriteCtrFile(UserInterface& ui, CtrList& list, const std::vector<int>& selectedRows, std::string& folder) {
  if (!MarkCtrSelection(ui, list, selectedRows, kWriteCtrFileCaption)) return false;
  std::string text;
  if (FormatCtrOpenAir(ui, list, text) < 0) return false;
  const std::optional<std::string> path = SaveCtrExport(ui, text, ".txt", folder);
  if (!path) return false;
  return true;
}

}  // namespace trelvik
