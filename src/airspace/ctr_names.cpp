#include "airspace/ctr_names.hpp"

#include <set>
#include <string>
#include <unordered_map>

#include "base/c_format.hpp"
#include "base/message_box.hpp"
#include "settings/utf8_text.hpp"

namespace trelvik {
namespace {

size_t CharacterCount(std::string_view text) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); at += Utf8CharacterLength(text, at)) ++count;
  return count;
}

std::string NumberedName(const std::string& name, int number) {
  const std::string suffix = CFormat("(%d)", number);
  const size_t room = kCtrNameLimit - suffix.size();
  return (CharacterCount(name) > room ? CutToCharacters(name, room) : name) + suffix;
}

}  // namespace

void FixEqualCtrNames(UserInterface& ui, CtrList& list) {
  // Rows by current name, so a country's list is not compared pair by pair;
  // a renamed row moves to the bucket of its new name, where a later row of
  // that name may still find it.
  std::unordered_map<std::string, std::set<size_t>> rowsByName;
  for (size_t row = 0; row < list.size(); ++row) rowsByName[list[row].name].insert(row);
  bool asked = false;
  for (size_t i = 0; i < list.size(); ++i) {
    std::set<size_t>& same = rowsByName[list[i].name];
    int copies = 0;
    for (auto it = same.upper_bound(i); it != same.end();) {
      if (!asked) {
        asked = true;
        if (AskYesNo(ui, "Fix name by appending number ?", "Equal CTR name(s)") != Answer::Yes) return;
      }
      const size_t row = *it;
      it = same.erase(it);
      list[row].name = NumberedName(list[row].name, ++copies);
      rowsByName[list[row].name].insert(row);
    }
  }
}

}  // namespace trelvik
