#include "instruments/common/owner_name.hpp"

namespace trelvik {

std::optional<std::string> OwnerNameField(std::string_view typed, size_t width) {
  std::string name(typed.substr(0, width));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  if (name.empty()) return std::nullopt;
  name.resize(width, ' ');
  return name;
}

}  // namespace trelvik
