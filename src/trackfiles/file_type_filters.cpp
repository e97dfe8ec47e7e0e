#include "trackfiles/file_type_filters.hpp"

namespace trelvik {

std::vector<std::string> FileTypeFilterList(std::span<const FileTypeChoice> choices) {
  std::vector<std::string> list;
  list.reserve(choices.size() * 2);
  for (const FileTypeChoice& choice : choices) {
    list.push_back(std::string(choice.typeName) + " files (*" + std::string(choice.extension) + ")");
  }
  for (const FileTypeChoice& choice : choices) list.push_back(std::string(choice.typeName) + " files (*.*)");
  return list;
}

std::vector<std::string> FileTypeFilterListThenAll(std::span<const FileTypeChoice> choices) {
  std::vector<std::string> list = FileTypeFilterList(choices);
  list.resize(choices.size());
  list.push_back("All files (*.*)");
  return list;
}

std::optional<FileTypeEntry> FileTypeOfEntry(size_t entry, size_t count) {
  if (entry == 0 || entry > 2 * count) return std::nullopt;
  if (entry <= count) return FileTypeEntry{entry - 1, true};
  return FileTypeEntry{entry - count - 1, false};
}

}  // namespace trelvik
