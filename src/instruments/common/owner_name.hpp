#pragma once
// The owner name a logger stores in a fixed-width field, from the name the
// user typed: trailing blanks cut, at most `width` characters, padded with
// blanks to exactly `width`. Nothing when no name is left: the upload is
// cancelled.
#include <optional>
#include <string>
#include <string_view>

namespace trelvik {

std::optional<std::string> OwnerNameField(std::string_view typed, size_t width);

}  // namespace trelvik
