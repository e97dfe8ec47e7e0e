#pragma once
// The structural rules shared by every XML reader: the first tag and what may
// stand before it, the element stack (at most 19 open elements), matching end
// tags, text only where an element's content may be, and the fixed error texts.
// Each reader is a handler that sees the elements it knows at their depths.
#include <string>
#include <string_view>

#include "trackfiles/xml_tokenizer.hpp"

namespace trelvik {

inline constexpr int kXmlMaxOpenElements = 19;

enum class XmlStep { Continue, Stop, Fail };

// What a handler's own reading of an element's content did: `next` is where
// the text after the element's end tag begins, or null when the handler left
// the content to the walk.
struct XmlContentRead {
  char* next = nullptr;
  XmlStep step = XmlStep::Continue;
};

class XmlElementHandler {
 public:
  virtual ~XmlElementHandler() = default;
  // A start tag (also the start of an empty-element tag). `depth` counts the
  // element itself: the root is at depth 1. `attributes` may be null.
  virtual XmlStep OnStart(const char* name, char* attributes, int depth, const XmlToken& token) = 0;
  // An end tag (also the end of an empty-element tag, then without text).
  // `text` is the element's text content, or null; `depth` is the element's own.
  virtual XmlStep OnEnd(const char* name, char* text, int depth, const XmlToken& token) = 0;
  // Right after OnStart of an element that is not empty, `content` being the
  // text after its start tag: a handler may read a content of a shape it knows
  // (and the element's end tag) itself, with exactly the effect the walk's own
  // tokens and OnEnd calls would have had, and say where the walk goes on. It
  // must write nothing into the text unless it takes the content.
  virtual XmlContentRead ReadContent(char* /*content*/, int /*depth*/) { return {}; }
};

enum class XmlFirstTag {
  // A first tag "?xml" is skipped, any other first tag is processed (KML).
  SkipDeclaration,
  // The first tag must be "?xml" and is skipped (GPX); its messages name '<?xml>'.
  RequireDeclaration,
};

struct XmlWalkOptions {
  XmlFirstTag firstTag = XmlFirstTag::SkipDeclaration;
  // Processing instructions ("?" tags) anywhere are skipped like comments.
  bool skipProcessingInstructions = false;
};

inline constexpr int kXmlWalkDone = 0;
inline constexpr int kXmlWalkStopped = 1;  // the handler ended the walk early
inline constexpr int kXmlWalkFailed = -1;

// Walks `text` (writable, zero-terminated; the tokenizer writes into it). On a
// structural fault returns kXmlWalkFailed with the message in `error`; when the
// handler fails, `error` is left as the handler set it.
[[nodiscard]] int WalkXml(char* text, const XmlWalkOptions& options, XmlElementHandler& handler, std::string& error);

// A tag name as messages show it: longer than 20 characters, its first 20 and "...".
std::string XmlNameForMessage(std::string_view name);

}  // namespace trelvik
