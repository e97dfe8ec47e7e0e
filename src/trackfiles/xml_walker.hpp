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

// What a handler's own reading of children did: `next` is where the walk goes
// on, or null when the handler read nothing.
struct XmlChildrenRead {
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
  // Whenever the walk stands inside the content of the element at `depth`
  // (after its start tag, after the end of one of its children), `content`
  // being the text from there on: a handler may read whole children of a shape
  // it knows itself, with exactly the effect the walk's own tokens and calls
  // would have had, and say where the walk goes on. It must write nothing into
  // the text that it does not take. A track file's thousands of points of one
  // layout are read this way instead of token by token.
  virtual XmlChildrenRead ReadChildren(char* /*content*/, int /*depth*/) { return {}; }
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
