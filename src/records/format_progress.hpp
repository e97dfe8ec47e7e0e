#pragma once
// Progress and status texts: "%" marks where a count goes.
#include <cstdint>
#include <string>
#include <string_view>

namespace trelvik {

// Copies `format`, replacing the first "%" by a, the second by b, the third by
// c and the fourth and every later one by d, in plain decimal. The character
// after a "%" is copied unchanged ("% (%m %s)" reads "1200 (3m 7s)"). The
// arguments are counts; a negative one is printed without its sign.
std::string FormatProgress(std::string_view format, int64_t a = 0, int64_t b = 0, int64_t c = 0, int64_t d = 0);

}  // namespace trelvik
