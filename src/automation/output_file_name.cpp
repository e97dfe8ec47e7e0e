#include "automation/output_file_name.hpp"

#include "base/atomic_file.hpp"
#include "base/c_format.hpp"
#include "settings/utf8_text.hpp"

namespace trelvik {

std::string ExpandDateInFileName(std::string_view name, TrackTime time, size_t limit) {
  constexpr std::string_view kDate = "$date";
  const SystemTime date = DateFromTrackTime(time);
  const std::string digits = CFormat("%d%02d%02d", date.year, date.month, date.day);
  std::string expanded;
  size_t from = 0;
  for (size_t at = name.find(kDate); at != std::string_view::npos; at = name.find(kDate, from)) {
    expanded.append(name.substr(from, at - from));
    expanded += digits;
    from = at + kDate.size();
  }
  expanded.append(name.substr(from));
  return CutToCharacters(expanded, limit);
}

size_t CharacterCount(std::string_view text) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); at += Utf8CharacterLength(text, at)) ++count;
  return count;
}

IgcTarget IgcTargetOf(const std::string& expandedName) {
  if (expandedName.empty() || expandedName.back() == '/') return {expandedName, {}};
  // "$date" may have turned a name into the path of a folder that exists.
  if (DirectoryExists(expandedName)) return {expandedName + "/", {}};
  return {{}, expandedName};
}

}  // namespace trelvik
