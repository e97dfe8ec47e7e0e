#pragma once
// The Graviter logger without I/O: its identification line and the image of
// its track memory, a ring of linked tracks whose points are bit-packed.
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "records/track_point.hpp"

namespace trelvik::graviter {

inline constexpr std::string_view kIdentityRequest = "V";
inline constexpr std::string_view kImageRequest = "y";
inline constexpr std::string_view kNameRequest = "T";
inline constexpr size_t kOwnerNameWidth = 20;
// The receive buffer: the reply is stored from kReplyStart on, so that the
// record pointers inside the image are indexes into it.
inline constexpr size_t kBufferSize = 140000;
inline constexpr size_t kReplyStart = 1696;

// One text line of blank-separated fields, CR ignored, ended by LF.
class IdentityParser {
 public:
  // True when `c` completed a line of at least four fields.
  bool Feed(uint8_t c);
  const std::string& Model() const { return fields_[1]; }   // field 2
  const std::string& Serial() const { return fields_[3]; }  // field 4

 private:
  std::vector<std::string> fields_ = std::vector<std::string>(5);
  size_t field_ = 0;
  bool inField_ = false;
  bool clearPending_ = false;
};

// "W", the address of name byte `index` as six digits, its value as three.
std::string NameByteCommand(size_t index, uint8_t value);

// A track's header; the notice of a track without positions names it.
struct TrackHeader {
  int day = 0;
  int month = 0;
  int year = 0;  // full year
  int startHour = 0;
  int startMinute = 0;
  int type = 0;   // 2: no positions, 3: positions follow
  int count = 0;  // points announced
};
using EmptyTrackNotice = std::function<void(const TrackHeader& header)>;

// Decodes the reply to "y" ("y", image, "*", XOR, CR, LF) into `points`,
// telling `notice` of every track that gave none. 0, or the positive code of
// the first fault: 1 and 2 a reply of the wrong shape, 3 its checksum, 4 the
// first-track pointer, 10 a next-track pointer out of range or back to a
// track already read, 11 a track that ends inside its header, 12 to 18 the
// header's range checks, 20 to 37 a track that ends inside a point's field.
int DecodeImage(std::span<const uint8_t> reply, std::vector<TrackPoint>& points, const EmptyTrackNotice& notice);

}  // namespace trelvik::graviter
