#pragma once
// The file-type list of an open or save dialog that offers several formats:
// one entry per type with its own extension, then one entry per type for a
// file of any name, so that any file can be read or written in a chosen format.
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik {

struct FileTypeChoice {
  std::string_view typeName;   // "IGC"
  std::string_view extension;  // ".igc"
};

// "IGC files (*.igc)" ... then "IGC files (*.*)" ...
[[nodiscard]] std::vector<std::string> FileTypeFilterList(std::span<const FileTypeChoice> choices);

// The typed entries, then one "All files (*.*)".
[[nodiscard]] std::vector<std::string> FileTypeFilterListThenAll(std::span<const FileTypeChoice> choices);

struct FileTypeEntry {
  size_t choice = 0;   // 0-based index into the choices
  bool typed = false;  // an entry of the first half: its extension goes on a name without one
};

// The choice behind the 1-based `entry` of a list of `count` choices; nothing
// for an entry beyond both halves (or 0, no entry at all).
[[nodiscard]] std::optional<FileTypeEntry> FileTypeOfEntry(size_t entry, size_t count);

}  // namespace trelvik
