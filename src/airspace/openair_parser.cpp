#include "airspace/openair_parser.hpp"

#include <new>
#include <string>

#include "airspace/airspace_text.hpp"
#include "airspace/openair_fields.hpp"
#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "records/text_scan.hpp"
#include "settings/utf8_text.hpp"

namespace trelvik {
namespace {

enum class ParseState {
  NoAirspace,   // before the first AN, or after TO, TC or DY: only AN counts
  Open,         // airspace open, no centre
  CentreSet,    // V X= given, not yet used by an arc or circle
  CentreUsed,   // V X= given and used by an arc
};

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A name, remark or class text: UTF-8, cut to its length, no blanks around it.
std::string FieldText(std::string_view argument, size_t limit) {
  const std::string utf8 = FieldToUtf8(TrimBlanks(argument));
  return std::string(TrimBlanks(CutToCharacters(utf8, limit)));
}

class OpenAirParser {
 public:
  OpenAirParser(UserInterface& ui, const DyNotifier& notifyDy) : ui_(ui), notifyDy_(notifyDy) {}

  // True when the whole text was read; otherwise error() tells why.
  bool Run(std::string_view text) {
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (text.starts_with(kUtf8Bom)) text.remove_prefix(kUtf8Bom.size());
    size_t at = 0;
    while (at < text.size()) {
      size_t end = text.find_first_of("\r\n", at);
      if (end == std::string_view::npos) end = text.size();
      if (!Line(text.substr(at, end - at))) return false;
      if (end < text.size() && text[end] == '\n') ++line_;
      at = end + 1;
    }
    return Finish();
  }

  const std::string& Error() const { return error_; }
  CtrList& Areas() { return areas_; }

 private:
  bool Fail(const char* format) {
    error_ = CFormat(format, line_);
    return false;
  }
  bool FailPlain(const char* text) {
    error_ = text;
    return false;
  }

  bool Line(std::string_view raw) {
    // Tabs stand where blanks belong in files from some editors.
    std::string_view text = raw;
    if (raw.find('\t') != std::string_view::npos) {
      buffer_.assign(raw);
      for (char& c : buffer_) {
        if (c == '\t') c = ' ';
      }
      text = buffer_;
    }
    text = TrimBlanks(text);
    if (text.empty() || text.front() == '*') return true;
    const size_t blank = text.find(' ');
    const std::string_view type = text.substr(0, blank);
    const std::string_view argument = blank == std::string_view::npos ? std::string_view{}
                                                                       : TrimBlanks(text.substr(blank));
    if (state_ == ParseState::NoAirspace) return type == "AN" ? NewAirspace(argument) : true;
    return Record(type, argument);
  }

  bool Record(std::string_view type, std::string_view argument) {
    if (type == "AN") return NewAirspace(argument);
    CtrArea& area = areas_.back();
    if (type == "AC") {
      area.classText = FieldText(argument, kCtrClassLimit);
      area.classCode = CtrClassCode(area.classText);
      return true;
    }
    if (type == "AH") {
      area.ceilingRemark = FieldText(argument, kCtrRemarkLimit);
      area.ceilingValue = AltitudeFromRemark(area.ceilingRemark);
      return true;
    }
    if (type == "AL") {
      area.floorRemark = FieldText(argument, kCtrRemarkLimit);
      area.floorValue = AltitudeFromRemark(area.floorRemark);
      return true;
    }
    // AT label positions, SB/SP drawing styles and the extended records (type,
    // identifier, frequency, receiver, station name, activation) have no place
    // in the model.
    if (type == "AT" || type == "SB" || type == "SP" || type == "AY" || type == "AI" || type == "AF" ||
        type == "AR" || type == "AG" || type == "AA") {
      return true;
    }
    if (type == "TO" || type == "TC") {
      if (area.segments.empty()) return Fail("No segments in airspace (line %d)");
      state_ = ParseState::NoAirspace;
      return true;
    }
    if (type == "V") return Variable(argument);
    if (type == "DP") return Point(argument);
    if (type == "DA") return ArcByAngles(argument);
    if (type == "DB") return ArcByPoints(argument);
    if (type == "DC") return Circle(argument);
    if (type == "DY") return DropAirspace();
    return Fail("Unknown record type on line %d");
  }

  bool NewAirspace(std::string_view argument) {
    if (state_ != ParseState::NoAirspace && areas_.back().segments.empty()) {
      return Fail("No segments in airspace (line %d)");
    }
    std::string name = FieldText(argument, kCtrNameLimit);
    if (name.empty()) return FailPlain("Missing airspace name");
    CtrArea& area = areas_.emplace_back();
    area.name = std::move(name);
    area.line = line_;
    direction_ = '+';
    state_ = ParseState::Open;
    return true;
  }

  bool Variable(std::string_view argument) {
    if (argument.empty()) return Fail("Bad variable assignment format on line %d");
    const char variable = argument.front();
    std::string_view value = TrimBlanks(argument.substr(1));
    if (value.empty() || value.front() != '=') return Fail("Bad variable assignment format on line %d");
    value = TrimBlanks(value.substr(1));
    if (value.empty()) return Fail("Bad variable assignment format on line %d");
    switch (variable) {
      case 'D':
        if ((value[0] != '+' && value[0] != '-') || (value.size() > 1 && !IsBlank(value[1]))) {
          return Fail("Bad direction format on line %d");
        }
        direction_ = value[0];
        return true;
      case 'X': {
        LatLonDegrees centre;
        if (!ParseOpenAirPosition(value, centre)) return Fail("Bad position format on line %d");
        if (state_ == ParseState::CentreSet) return FailPlain("Multiple V record types");
        centre_ = centre;
        state_ = ParseState::CentreSet;
        return true;
      }
      case 'T':  // label position
      case 'W':  // airway width
      case 'Z':  // zoom level
        return true;
      default:
        return Fail("Bad variable assignment format on line %d");
    }
  }

  bool Point(std::string_view argument) {
    CtrSegment segment;
    if (!ParseOpenAirPosition(argument, segment.position)) return Fail("Bad position format on line %d");
    if (state_ == ParseState::CentreSet) return Fail("Expected a DB or DC record (line %d)");
    areas_.back().segments.push_back(segment);
    return true;
  }

  // An arc takes the open centre, and a second arc on the same centre hands it
  // back, so that a point may not follow it without a new centre.
  void UseCentreForArc(CtrSegment& segment) {
    segment.position = centre_;
    segment.direction = direction_;
    areas_.back().segments.push_back(segment);
    state_ = state_ == ParseState::CentreSet ? ParseState::CentreUsed : ParseState::CentreSet;
  }

  bool ArcByAngles(std::string_view argument) {
    CtrSegment segment;
    segment.type = CtrSegmentType::ArcByAngles;
    if (!ParseOpenAirArcAngles(argument, segment.radius, segment.startBearing, segment.endBearing)) {
      return Fail("Bad arc position format on line %d");
    }
    if (state_ == ParseState::Open) return Fail("Missing centre for DB record (line %d)");
    UseCentreForArc(segment);
    return true;
  }

  bool ArcByPoints(std::string_view argument) {
    CtrSegment segment;
    segment.type = CtrSegmentType::ArcByPoints;
    if (!ParseOpenAirArcPoints(argument, segment.start, segment.end)) {
      return Fail("Bad arc position format on line %d");
    }
    if (state_ == ParseState::Open) return Fail("Missing centre for DB record (line %d)");
    UseCentreForArc(segment);
    return true;
  }

  bool Circle(std::string_view argument) {
    CtrSegment segment;
    segment.type = CtrSegmentType::Circle;
    if (!ParseOpenAirCircle(argument, segment.radius)) return Fail("Bad radius format on line %d");
    if (state_ == ParseState::Open || state_ == ParseState::CentreUsed) {
      return Fail("Missing centre for DC record (line %d)");
    }
    segment.position = centre_;
    areas_.back().segments.push_back(segment);
    state_ = ParseState::Open;
    return true;
  }

  bool DropAirspace() {
    if (!skipDyNotices_) {
      const std::string notice = CFormat("CTR at line %d:  DY record (not implemented)", areas_.back().line);
      if (notifyDy_) {
        skipDyNotices_ = notifyDy_(notice);
      } else {
        ShowWarning(ui_, notice, kDyNoticeCaption);
      }
    }
    areas_.pop_back();
    state_ = ParseState::NoAirspace;
    return true;
  }

  bool Finish() {
    if ((state_ == ParseState::Open || state_ == ParseState::CentreUsed) && areas_.back().segments.empty()) {
      return Fail("No segments in airspace (line %d)");
    }
    if (state_ == ParseState::CentreSet) return Fail("Missing DB or DC segment (line %d)");
    return true;
  }

  UserInterface& ui_;
  const DyNotifier& notifyDy_;
  CtrList areas_;
  ParseState state_ = ParseState::NoAirspace;
  char direction_ = '+';
  LatLonDegrees centre_;
  int line_ = 1;
  bool skipDyNotices_ = false;
  std::string buffer_;
  std::string error_;
};

}  // namespace

int ParseOpenAir(UserInterface& ui, std::string_view text, CtrList& list, const DyNotifier& notifyDy) {
  std::string error;
  try {
    OpenAirParser parser(ui, notifyDy);
    if (parser.Run(text)) {
      list = std::move(parser.Areas());
      return static_cast<int>(list.size());
    }
    error = parser.Error();
  } catch (const std::bad_alloc&) {
    error = "Memory allocation error";
  }
  ShowError(ui, error, kParseCtrCaption);
  return -1;
}

}  // namespace trelvik
