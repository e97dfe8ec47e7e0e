#include "instruments/garmin/waypoints.hpp"

#include <cmath>
#include <cstring>
#include <string>
#include <string_view>

namespace trelvik::garmin {
namespace {

constexpr size_t kNameChars = 6;
constexpr size_t kCommentChars = 40;
constexpr float kAltitudeLimit = 20000.0f;

enum class Text { Fixed, Terminated };
enum class Altitude { None, Float, Int16 };

// Where a type keeps its fields. Offsets are within the packet data; -1 = none.
struct Layout {
  uint16_t type;
  size_t minimumSize;
  size_t lat;
  Altitude altitude;
  int altitudeAt;
  Text text;
  size_t nameAt;     // for terminated texts the comment follows the name
  size_t commentAt;  // fixed texts only
  int symbolAt;      // 16-bit symbol; -1 = none
  int timeAt;        // -1 = none
};

constexpr Layout kLayouts[] = {
    {100, 58, 6, Altitude::None, -1, Text::Fixed, 0, 18, -1, -1},
    {101, 63, 6, Altitude::None, -1, Text::Fixed, 0, 18, -1, -1},
    {102, 64, 6, Altitude::None, -1, Text::Fixed, 0, 18, 62, -1},
    {103, 60, 6, Altitude::None, -1, Text::Fixed, 0, 18, -1, -1},
    {104, 65, 6, Altitude::None, -1, Text::Fixed, 0, 18, 62, -1},
    {107, 65, 6, Altitude::None, -1, Text::Fixed, 0, 18, -1, -1},
    {108, 48, 24, Altitude::Float, 32, Text::Terminated, 48, 0, 4, -1},
    {109, 52, 24, Altitude::Float, 32, Text::Terminated, 52, 0, 4, -1},
    {110, 62, 24, Altitude::Float, 32, Text::Terminated, 62, 0, 4, 56},
    {150, 115, 9, Altitude::Int16, 17, Text::Fixed, 0, 75, -1, -1},
    {151, 124, 6, Altitude::Int16, 118, Text::Fixed, 0, 18, -1, -1},
    {152, 124, 6, Altitude::Int16, 118, Text::Fixed, 0, 18, -1, -1},
    {154, 126, 6, Altitude::Int16, 118, Text::Fixed, 0, 18, 124, -1},
    {155, 127, 6, Altitude::Int16, 118, Text::Fixed, 0, 18, 124, -1},
};

const Layout* LayoutOf(uint16_t type) {
  for (const Layout& layout : kLayouts) {
    if (layout.type == type) return &layout;
  }
  return nullptr;
}

// Downloaded text: upper case, at most `limit` characters, trailing blanks
// cut except that a text of blanks keeps its first one.
template <size_t N>
void StoreText(std::string_view text, size_t limit, char (&out)[N]) {
  text = text.substr(0, std::min(limit, N - 1));
  const size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  size_t length = text.size();
  while (length > 1 && text[length - 1] == ' ') --length;
  for (size_t i = 0; i < length; ++i) {
    const char c = text[i];
    out[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  out[length] = '\0';
}

std::string_view FixedText(const GarminPacket& packet, size_t at, size_t width) {
  return {reinterpret_cast<const char*>(packet.data.data()) + at, std::min(width, packet.size - at)};
}

int32_t RoundAltitude(float metres) {
  if (!(metres >= -kAltitudeLimit && metres <= kAltitudeLimit)) return 0;
  return static_cast<int32_t>(std::lround(metres));
}

// Uploaded text: names (and terminated comments) keep A..Z, 0..9, blank and
// '-'; fixed comments keep A..Z, 0..9 and blank. Lower case is raised; what
// else there is becomes `other`.
std::string UploadText(std::string_view text, size_t limit, bool keepDash, char other) {
  std::string out;
  for (char c : text.substr(0, std::min(text.size(), limit))) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const bool kept = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || (keepDash && c == '-');
    out += kept ? c : other;
  }
  return out;
}

void PutFixed(GarminPacket& packet, size_t at, const std::string& text, size_t width) {
  for (size_t i = 0; i < width; ++i) packet.data[at + i] = static_cast<uint8_t>(i < text.size() ? text[i] : ' ');
}

}  // namespace

size_t WaypointMinimumSize(uint16_t type) {
  const Layout* layout = LayoutOf(type);
  return layout != nullptr ? layout->minimumSize : 0;
}

int DecodeWaypoint(uint16_t type, const GarminPacket& packet, TrackTime now, Waypoint& waypoint) {
  waypoint = Waypoint{};
  const Layout* layout = LayoutOf(type);
  if (layout == nullptr || packet.id != kPidWaypoint || packet.size < layout->minimumSize) return -1;
  if (type == 109 && (packet.data[0] != 1 || packet.data[3] != 0x70)) return -2;
  if (type == 110 && (packet.data[0] != 1 || packet.data[3] != 0x80)) return -2;
  waypoint.lat = static_cast<Semicircle>(packet.U32(layout->lat));
  waypoint.lon = static_cast<Semicircle>(packet.U32(layout->lat + 4));
  if (layout->altitude == Altitude::Float) {
    waypoint.alt = RoundAltitude(packet.F32(static_cast<size_t>(layout->altitudeAt)));
  } else if (layout->altitude == Altitude::Int16) {
    waypoint.alt = static_cast<int16_t>(packet.U16(static_cast<size_t>(layout->altitudeAt)));
  }
  if (layout->text == Text::Fixed) {
    StoreText(FixedText(packet, layout->nameAt, kNameChars), kNameChars, waypoint.name);
    StoreText(FixedText(packet, layout->commentAt, kCommentChars), kCommentChars, waypoint.description);
  } else {
    size_t next = 0;
    StoreText(PacketString(packet, layout->nameAt, &next), kNameChars, waypoint.name);
    StoreText(PacketString(packet, next), kCommentChars, waypoint.description);
  }
  if (layout->symbolAt >= 0) waypoint.airport = packet.U16(static_cast<size_t>(layout->symbolAt)) == kSymbolAirport;
  waypoint.time = layout->timeAt >= 0 ? packet.U32(static_cast<size_t>(layout->timeAt)) : now;
  return 0;
}

GarminPacket EncodeWaypoint(uint16_t type, const Waypoint& waypoint) {
  GarminPacket packet;
  packet.id = kPidWaypoint;
  const Layout* layout = LayoutOf(type);
  if (layout == nullptr) return packet;
  const uint16_t symbol = waypoint.airport == 1 ? kSymbolAirport : kSymbolWaypointDot;
  const std::string name = UploadText(waypoint.name, kNameChars, true, ' ');
  packet.PutU32(layout->lat, static_cast<uint32_t>(waypoint.lat));
  packet.PutU32(layout->lat + 4, static_cast<uint32_t>(waypoint.lon));
  if (layout->altitude == Altitude::Float) {
    packet.PutF32(static_cast<size_t>(layout->altitudeAt), static_cast<float>(waypoint.alt));
  } else if (layout->altitude == Altitude::Int16) {
    packet.PutU16(static_cast<size_t>(layout->altitudeAt), static_cast<uint16_t>(waypoint.alt));
  }
  if (layout->symbolAt >= 0) packet.PutU16(static_cast<size_t>(layout->symbolAt), symbol);
  if (layout->text == Text::Terminated) {
    const std::string comment = UploadText(waypoint.description, kCommentChars, true, ' ');
    size_t at = layout->nameAt;
    for (const char c : name) packet.data[at++] = static_cast<uint8_t>(c);
    packet.data[at++] = 0;
    for (const char c : comment) packet.data[at++] = static_cast<uint8_t>(c);
    packet.data[at++] = 0;
    packet.size = static_cast<uint8_t>(at);
    packet.data[0] = type == 108 ? 0 : 1;
    if (type == 108) packet.data[1] = 0xFF;
    if (type != 108) packet.data[2] = 0x1F;
    packet.data[3] = type == 108 ? 0x60 : type == 109 ? 0x70 : 0x80;
    if (layout->timeAt >= 0) packet.PutU32(static_cast<size_t>(layout->timeAt), waypoint.time);
    return packet;
  }
  PutFixed(packet, layout->nameAt, name, kNameChars);
  PutFixed(packet, layout->commentAt, UploadText(waypoint.description, kCommentChars, false, '-'), kCommentChars);
  if (type == 101) packet.data[62] = kSymbolWaypointDot;
  packet.size = static_cast<uint8_t>(layout->minimumSize);
  return packet;
}

}  // namespace trelvik::garmin
