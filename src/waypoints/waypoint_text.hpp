#pragma once
// Text of waypoint files on its way in and out. The records hold UTF-8; the
// files of the older navigation programs are Windows-1252, and a file that is
// not valid UTF-8 is taken as Windows-1252 whatever its format.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "records/waypoint.hpp"
#include "trackfiles/windows1252.hpp"

namespace trelvik {

// A field of a file: valid UTF-8 as it is, anything else as Windows-1252.
std::string FieldText(std::string_view bytes, bool fileIsUtf8);

// Keeps at most `maxCharacters` characters, and no more bytes than a record
// field of `fieldBytes` bytes holds without cutting a character.
std::string CutForField(std::string_view utf8, std::size_t maxCharacters, std::size_t fieldBytes);

// The description field of a record: at most 40 characters, trailing blanks cut.
void SetDescription(Waypoint& waypoint, std::string_view utf8);

// The record's text fields as views.
std::string_view NameOf(const Waypoint& waypoint);
std::string_view DescriptionOf(const Waypoint& waypoint);

// Character data or an attribute value of an XML file: "&", "<", ">" and '"'
// as references, characters XML 1.0 cannot carry left out.
std::string XmlEscaped(std::string_view utf8);

// One line of a text file: its text without the line end and its 1-based
// number among the file's lines (CR LF, a lone CR and a lone LF each end one).
struct TextLine {
  std::string_view text;
  int number = 0;
};

// The lines that hold more than blanks, leading blanks skipped.
std::vector<TextLine> NonEmptyLines(std::string_view text);

// `text` cut at every `separator`.
std::vector<std::string_view> SplitFields(std::string_view text, char separator);

// `text` without leading and trailing blanks.
std::string_view TrimBlanks(std::string_view text);

}  // namespace trelvik
