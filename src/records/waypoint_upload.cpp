#include "records/waypoint_upload.hpp"

#include <cstring>
#include <string>

namespace trelvik {

UploadNameRule UploadNameRuleFor(bool offersRules, int parameter) {
  if (!offersRules || parameter < 1 || parameter > 3) return UploadNameRule::Unchanged;
  return static_cast<UploadNameRule>(parameter);
}

void ApplyUploadNameRule(Waypoint& waypoint, UploadNameRule rule) {
  const std::string name(waypoint.name, strnlen(waypoint.name, sizeof waypoint.name - 1));
  const std::string old(waypoint.description, strnlen(waypoint.description, sizeof waypoint.description - 1));
  std::string description;
  switch (rule) {
    case UploadNameRule::Unchanged: return;
    case UploadNameRule::OnlyName: description = old.empty() ? name : old; break;
    case UploadNameRule::IdAndName: description = name + " " + old; break;
    case UploadNameRule::OnlyId: description = name; break;
  }
  // Cut to the field, never inside a UTF-8 character.
  size_t length = std::min(description.size(), sizeof waypoint.description - 1);
  if (length < description.size()) {
    while (length > 0 && (static_cast<unsigned char>(description[length]) & 0xC0) == 0x80) --length;
  }
  description.resize(length);
  std::memset(waypoint.description, 0, sizeof waypoint.description);
  std::memcpy(waypoint.description, description.data(), description.size());
}

}  // namespace trelvik
