#pragma once
// The small non-validating XML tokenizer that every XML reader uses. It works
// in place on a writable, zero-terminated copy of the file: it writes
// terminators at the "<" of each tag, after the tag name and at the ">", so
// that names, attribute texts and text contents can be used as separate
// strings without copying. No entity or character reference is decoded.
#include <cstddef>

namespace trelvik {

inline constexpr int kXmlTag = 0;         // a start, end or "!"/"?" tag
inline constexpr int kXmlEmptyTag = 1;    // "<name .../>": start and end at once
inline constexpr int kXmlEndOfText = -1;  // no further "<"
inline constexpr int kXmlUnclosed = -2;   // a tag, comment or CDATA section runs into the end

struct XmlToken {
  // Tag name: "/name" for an end tag; "!--...--" for a comment and
  // "![CDATA[...]]" for a CDATA section (the whole thing); "?xml" for the
  // declaration. Null after kXmlEndOfText and kXmlUnclosed.
  char* name = nullptr;
  // Text after the name up to the ">" (without a closing "/"), or null.
  char* attributes = nullptr;
  // The text that stood before the tag, from its first character that is not
  // blank, tab, CR or LF up to the "<" (trailing white space kept), or null.
  // After kXmlEndOfText: the text after the last tag.
  char* text = nullptr;
  // Where the tag began (its "<") and where the text after it begins.
  const char* begin = nullptr;
  const char* end = nullptr;
};

// Reads the next token at `cursor` and moves the cursor past it. Returns
// kXmlTag, kXmlEmptyTag, kXmlEndOfText or kXmlUnclosed; after the last two the
// cursor stays at the end of the text, so further calls repeat kXmlEndOfText.
[[nodiscard]] int NextXmlToken(char*& cursor, XmlToken& token);

// True for blank, tab, carriage return and line feed: the only white space of XML.
constexpr bool IsXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace trelvik
