// The RACE pilot list: one tblPilot element per pilot under the root RACE.
#include <cstring>

#include "base/c_format.hpp"
#include "competition/pilot_list_readers.hpp"
#include "settings/utf8_text.hpp"
#include "trackfiles/xml_attributes.hpp"
#include "trackfiles/xml_references.hpp"
#include "trackfiles/xml_walker.hpp"

namespace trelvik {
namespace {

// Long enough to tell a first name above the limit from one at it.
constexpr size_t kNameBytes = (kPilotNameLimit + 1) * 4;

class RaceHandler : public XmlElementHandler {
 public:
  RaceHandler(std::vector<PilotEntry>& entries, std::string& error) : entries_(entries), error_(error) {}

  XmlStep OnStart(const char* name, char* attributes, int depth, const XmlToken&) override {
    if (depth == 1) {
      inRace_ = std::strcmp(name, "RACE") == 0;
      return XmlStep::Continue;
    }
    if (!inRace_ || std::strcmp(name, "tblPilot") != 0) return XmlStep::Continue;
    ++pilotNumber_;
    return TakePilot(attributes);
  }

  XmlStep OnEnd(const char*, char*, int, const XmlToken&) override { return XmlStep::Continue; }

 private:
  XmlStep Fail(const char* format) {
    error_ = CFormat(format, pilotNumber_);
    return XmlStep::Fail;
  }

  XmlStep TakePilot(const char* attributes) {
    PilotEntry entry;
    std::string first;
    std::string last;
    (void)GetXmlAttrText(attributes, "pilFirstName", first, kNameBytes);
    (void)GetXmlAttrText(attributes, "pilLastName", last, kNameBytes);
    first = DecodeXmlReferences(first);
    last = DecodeXmlReferences(last);
    NormalizeSpace(first);
    NormalizeSpace(last);
    if (CutToCharacters(first, kPilotNameLimit).size() < first.size())
      return Fail("Name too long for pilot %d in list");
    std::string name = first.empty() ? last : first + " " + last;
    if (name.empty()) return Fail("Missing name for pilot %d in list");
    entry.name = CutToCharacters(name, kPilotNameLimit);
    if (XmlPilotId(attributes, "pilNumber", entry.compId) == kPilotIdBad) {
      return Fail("Bad/missing pilot ID for pilot %d in list");
    }
    if (XmlPilotId(attributes, "pilIDGlobal", entry.civlId) == kPilotIdBad) {
      return Fail("Bad/missing CIVL ID for pilot %d in list");
    }
    entries_.push_back(std::move(entry));
    return XmlStep::Continue;
  }

  std::vector<PilotEntry>& entries_;
  std::string& error_;
  bool inRace_ = false;
  int pilotNumber_ = 0;
};

}  // namespace

int ReadRacePilotList(char* text, std::vector<PilotEntry>& entries, std::string& error) {
  RaceHandler handler(entries, error);
  XmlWalkOptions options;
  options.skipProcessingInstructions = true;
  return WalkXml(text, options, handler, error) == kXmlWalkFailed ? -1 : 0;
}

}  // namespace trelvik
