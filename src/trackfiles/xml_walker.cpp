#include "trackfiles/xml_walker.hpp"

#include <cstring>

namespace trelvik {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

class Walk {
 public:
  Walk(const XmlWalkOptions& options, XmlElementHandler& handler, std::string& error)
      : options_(options), handler_(handler), error_(error) {}

  int Run(char* text) {
    char* cursor = text;
    XmlToken token;
    int result = NextXmlToken(cursor, token);
    const bool gpx = options_.firstTag == XmlFirstTag::RequireDeclaration;
    if (result == kXmlEndOfText) return Fail("No tags found");
    if (result == kXmlUnclosed) return Fail("End-of-file encountered within a tag");
    if (token.text != nullptr && std::string_view(token.text) != kUtf8Bom) {
      return Fail(gpx ? "Unknown BOM before opening tag '<?xml>'" : "Unknown BOM before opening tag");
    }
    const bool declaration = std::strcmp(token.name, "?xml") == 0;
    if (gpx && !declaration) return Fail("Missing opening tag '<?xml>'");
    token.text = nullptr;  // the byte-order mark is no content
    if (!declaration) {
      const int step = Token(result, token, cursor);
      if (step != kXmlWalkDone) return step;
    }
    for (;;) {
      result = NextXmlToken(cursor, token);
      if (result == kXmlUnclosed) return Fail("End-of-file encountered within a tag");
      if (result == kXmlEndOfText) {
        if (depth_ > 0) return Fail("Nesting level not zero at end-of-file");
        if (token.text != nullptr) return Fail("Data found after last tag");
        return kXmlWalkDone;
      }
      const int step = Token(result, token, cursor);
      if (step != kXmlWalkDone) return step;
    }
  }

 private:
  int Token(int result, XmlToken& token, char*& cursor) {
    const char* name = token.name;
    if (name[0] == '!' || (name[0] == '?' && options_.skipProcessingInstructions)) return kXmlWalkDone;
    if (name[0] == '/') {
      if (depth_ == 0) return Fail("Terminating tag <" + XmlNameForMessage(name) + "> encountered at root level");
      if (std::strcmp(open_[depth_ - 1], name + 1) != 0) {
        return Fail("Tag <" + XmlNameForMessage(open_[depth_ - 1]) + "> is terminated by <" +
                    XmlNameForMessage(name) + ">");
      }
      const int step = Handle(handler_.OnEnd(name + 1, token.text, depth_, token));
      --depth_;
      return step == kXmlWalkDone ? Children(cursor) : step;
    }
    if (depth_ == kXmlMaxOpenElements) return Fail("Nesting limit exceeded at tag <" + XmlNameForMessage(name) + ">");
    if (token.text != nullptr) return Fail("Data found before tag <" + XmlNameForMessage(name) + ">");
    open_[depth_++] = name;
    int step = Handle(handler_.OnStart(name, token.attributes, depth_, token));
    if (step != kXmlWalkDone) return step;
    if (result != kXmlEmptyTag) return Children(cursor);
    step = Handle(handler_.OnEnd(name, nullptr, depth_, token));
    --depth_;
    return step == kXmlWalkDone ? Children(cursor) : step;
  }

  // The walk stands inside the innermost open element's content: the handler
  // may read whole children of it from here.
  int Children(char*& cursor) {
    if (depth_ == 0) return kXmlWalkDone;
    const XmlChildrenRead read = handler_.ReadChildren(cursor, depth_);
    if (read.next != nullptr) cursor = read.next;
    return Handle(read.step);
  }

  static int Handle(XmlStep step) {
    switch (step) {
      case XmlStep::Continue:
        return kXmlWalkDone;
      case XmlStep::Stop:
        return kXmlWalkStopped;
      case XmlStep::Fail:
        break;
    }
    return kXmlWalkFailed;
  }

  int Fail(std::string message) {
    error_ = std::move(message);
    return kXmlWalkFailed;
  }

  const XmlWalkOptions& options_;
  XmlElementHandler& handler_;
  std::string& error_;
  const char* open_[kXmlMaxOpenElements] = {};
  int depth_ = 0;
};

}  // namespace

int WalkXml(char* text, const XmlWalkOptions& options, XmlElementHandler& handler, std::string& error) {
  return Walk(options, handler, error).Run(text);
}

std::string XmlNameForMessage(std::string_view name) {
  if (name.size() <= 20) return std::string(name);
  size_t cut = 20;
  // Never half a UTF-8 character in a message.
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  return std::string(name.substr(0, cut)) + "...";
}

}  // namespace trelvik
