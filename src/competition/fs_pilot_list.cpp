// The FS pilot list: the participants of an FS competition database. Real
// files put an FsCompetition element between Fs and FsParticipants; files
// without it are read the same way.
#include <cstring>

#include "base/c_format.hpp"
#include "competition/pilot_list_readers.hpp"
#include "settings/utf8_text.hpp"
#include "trackfiles/xml_attributes.hpp"
#include "trackfiles/xml_references.hpp"
#include "trackfiles/xml_walker.hpp"

namespace trelvik {
namespace {

// The longest attribute value copied: 80 characters of up to four bytes.
constexpr size_t kAttributeBytes = kPilotNameLimit * 4;

enum class FsState { Outside, InFs, InCompetition, InParticipants, InParticipant };

bool Is(const char* name, const char* wanted) { return std::strcmp(name, wanted) == 0; }

class FsHandler : public XmlElementHandler {
 public:
  FsHandler(std::vector<PilotEntry>& entries, std::string& error) : entries_(entries), error_(error) {}

  XmlStep OnStart(const char* name, char* attributes, int depth, const XmlToken&) override {
    if (skipDepth_ != 0) return XmlStep::Continue;
    switch (state_) {
      case FsState::Outside:
        if (Is(name, "Fs")) return Enter(FsState::InFs);
        break;
      case FsState::InFs:
        if (Is(name, "FsCompetition")) return Enter(FsState::InCompetition);
        [[fallthrough]];
      case FsState::InCompetition:
        if (Is(name, "FsParticipants")) return Enter(FsState::InParticipants);
        break;
      case FsState::InParticipants:
        if (Is(name, "FsParticipant")) {
          participant_ = attributes != nullptr ? attributes : "";
          civlPilot_.clear();
          ++pilotNumber_;
          participantDepth_ = depth;
          return Enter(FsState::InParticipant);
        }
        break;
      case FsState::InParticipant:
        if (Is(name, "FsCivlPilot") && depth == participantDepth_ + 1) {
          civlPilot_ = attributes != nullptr ? attributes : "";
        }
        break;
    }
    // FsTasks and every element the list does not need are passed over whole.
    skipDepth_ = depth;
    return XmlStep::Continue;
  }

  XmlStep OnEnd(const char* name, char*, int depth, const XmlToken&) override {
    if (skipDepth_ != 0) {
      if (depth == skipDepth_) skipDepth_ = 0;
      return XmlStep::Continue;
    }
    if (Is(name, "FsParticipants") || Is(name, "Fs")) return XmlStep::Stop;
    if (state_ == FsState::InParticipant && Is(name, "FsParticipant")) {
      state_ = FsState::InParticipants;
      return FinishPilot();
    }
    if (state_ == FsState::InCompetition && Is(name, "FsCompetition")) state_ = FsState::InFs;
    return XmlStep::Continue;
  }

 private:
  XmlStep Enter(FsState state) {
    state_ = state;
    return XmlStep::Continue;
  }

  XmlStep Fail(const char* format) {
    error_ = CFormat(format, pilotNumber_);
    return XmlStep::Fail;
  }

  XmlStep FinishPilot() {
    const char* attributes = participant_.c_str();
    if (participant_.find_first_not_of(" \t\r\n") == std::string::npos) {
      return Fail("Missing data for pilot %d in list");
    }
    PilotEntry entry;
    std::string name;
    if (GetXmlAttrText(attributes, "name", name, kAttributeBytes) >= 0) {
      name = DecodeXmlReferences(name);
      NormalizeSpace(name);  // a name is one line, as the CSV list and the dialogs show it
    }
    if (name.empty()) return Fail("Missing name for pilot %d in list");
    entry.name = CutToCharacters(name, kPilotNameLimit);
    if (XmlPilotId(attributes, "id", entry.compId) == kPilotIdBad) {
      return Fail("Bad/missing comp. ID for pilot %d in list");
    }
    int civl = XmlPilotId(attributes, "CIVLID", entry.civlId);
    if (civl == kPilotIdNone && !civlPilot_.empty()) civl = XmlPilotId(civlPilot_.c_str(), "id", entry.civlId);
    if (civl == kPilotIdBad) return Fail("Bad CIVL ID for pilot %d in list");
    entries_.push_back(std::move(entry));
    return XmlStep::Continue;
  }

  std::vector<PilotEntry>& entries_;
  std::string& error_;
  FsState state_ = FsState::Outside;
  int skipDepth_ = 0;
  int participantDepth_ = -1;
  int pilotNumber_ = 0;
  std::string participant_;  // the attributes of the open FsParticipant
  std::string civlPilot_;    // ... and of its FsCivlPilot
};

}  // namespace

int XmlPilotId(const char* attributes, const char* name, int32_t& id) {
  id = -1;
  std::string text;
  if (GetXmlAttrText(attributes, name, text, kAttributeBytes) < 0) return kPilotIdNone;
  const size_t first = text.find_first_not_of(' ');
  const size_t last = text.find_last_not_of(' ');
  if (first == std::string::npos || text.substr(first, last + 1 - first) == "None") return kPilotIdNone;
  int value = 0;
  if (GetXmlAttrInt(attributes, name, value) != 0 || value < 0) return kPilotIdBad;
  id = value;
  return kPilotIdTaken;
}

int ReadFsPilotList(char* text, std::vector<PilotEntry>& entries, std::string& error) {
  FsHandler handler(entries, error);
  XmlWalkOptions options;
  options.firstTag = XmlFirstTag::RequireDeclaration;
  options.skipProcessingInstructions = true;
  return WalkXml(text, options, handler, error) == kXmlWalkFailed ? -1 : 0;
}

}  // namespace trelvik
