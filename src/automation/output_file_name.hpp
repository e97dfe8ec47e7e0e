#pragma once
// The names of the files a batch run writes: "$date" in a name given on the
// command line, and the IGC name made from the date, serial and flight number
// when the command line named only a folder.
#include <cstddef>
#include <string>
#include <string_view>

#include "records/track_time.hpp"

namespace trelvik {

// Every "$date" becomes the date of `time` as eight digits (year, month,
// day); the result is cut to `limit` characters.
std::string ExpandDateInFileName(std::string_view name, TrackTime time, size_t limit);

// Characters (not bytes) of a UTF-8 text.
size_t CharacterCount(std::string_view text);

// A name given for an IGC file: the folder it ends in (with its final "/"),
// or the file name itself.
struct IgcTarget {
  std::string folder;  // set when the name named a folder
  std::string file;    // set when it named a file
  bool NamesFolder() const { return file.empty(); }
};

// Splits at the last "/": nothing after it, or a name that is an existing
// folder, is a folder; anything else is the file to write.
IgcTarget IgcTargetOf(const std::string& expandedName);

}  // namespace trelvik
