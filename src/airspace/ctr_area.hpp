#pragma once
// One airspace ("CTR") and its outline, as read from OpenAir text, downloaded
// from an instrument or typed into the editor. The list of them in file order
// is the airspace list that the window shows and the exports walk.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik {

inline constexpr size_t kCtrNameLimit = 50;    // characters (UTF-8 code points)
inline constexpr size_t kCtrRemarkLimit = 50;  // AL / AH texts
inline constexpr size_t kCtrClassLimit = 10;   // AC text
inline constexpr int32_t kDefaultWarningDistance = 200;  // metres
inline constexpr int32_t kUnlimitedAltitude = 999999;

// Degrees, north and east positive.
struct LatLonDegrees {
  double lat = 0;
  double lon = 0;
  bool operator==(const LatLonDegrees&) const = default;
};

enum class CtrSegmentType : int32_t { Point = 0, ArcByPoints = 1, ArcByAngles = 2, Circle = 3 };

struct CtrSegment {
  CtrSegmentType type = CtrSegmentType::Point;
  LatLonDegrees position;  // the point (Point) or the centre (arcs, Circle)
  LatLonDegrees start;     // ArcByPoints
  LatLonDegrees end;       // ArcByPoints
  int32_t radius = 0;      // metres: ArcByAngles, Circle
  double startBearing = 0; // degrees clockwise from north: ArcByAngles
  double endBearing = 0;
  char direction = '+';    // '+' clockwise, '-' counter-clockwise: arcs
  bool operator==(const CtrSegment&) const = default;
};

// Class codes in the order instruments and exports number them.
enum CtrClass : int32_t {
  kClassA = 0, kClassB, kClassC, kClassD, kClassE, kClassP, kClassQ, kClassR, kClassW,
  kClassCtr, kClassCtz, kClassGp, kClassOther
};

struct CtrArea {
  std::string name;           // UTF-8, at most kCtrNameLimit characters
  std::string ceilingRemark;  // AH text, UTF-8
  std::string floorRemark;    // AL text, UTF-8
  std::string classText;      // AC text, UTF-8
  int32_t classCode = kClassA;
  int32_t line = 0;           // line of the AN record in the file it came from
  bool selected = false;      // set by the list actions from the list view selection
  int32_t warningDistance = kDefaultWarningDistance;  // metres
  int32_t floorValue = 0;     // from floorRemark, see AltitudeFromRemark
  int32_t ceilingValue = 0;
  std::vector<CtrSegment> segments;

  int32_t SegmentCount() const { return static_cast<int32_t>(segments.size()); }
  bool operator==(const CtrArea&) const = default;
};

// The airspace list: file order, the n-th row of the list view is the n-th entry.
using CtrList = std::vector<CtrArea>;

// Frees every record of a list.
inline void FreeCtrList(CtrList& list) { CtrList().swap(list); }

// Class code of an AC text, case ignored; kClassOther for anything not in the table.
int32_t CtrClassCode(std::string_view classText);

// The number an AL or AH remark stands for: a leading number (units ignored),
// "FL" and a number times 100, "UNLIMITED" 999999, anything else 0.
int32_t AltitudeFromRemark(std::string_view remark);

// Metres of a remark for exports that need a real height: "1500 m" 1500,
// "3000 ft AMSL" 914.4, "1500 MSL" 0, "FL 95" 0.
double RemarkToMetres(std::string_view remark);

}  // namespace trelvik
