// Arbitrary bytes as one received NMEA sentence: the check must answer a field
// count or one of its codes, split only inside the line, and give back every
// field it counted; a sentence we finish ourselves must pass it.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "access/nmea.hpp"

namespace {

using namespace trelvik;

void Check(bool condition) {
  if (!condition) std::abort();
}

int Commas(std::string_view text) {
  int commas = 0;
  for (const char c : text) commas += c == ',';
  return commas;
}

void CheckReceived(std::string_view input, size_t offsetRoom) {
  // A block of exactly the line's size, so that a look past its end is seen.
  const std::unique_ptr<char[]> line(new char[input.size()]);
  std::copy(input.begin(), input.end(), line.get());
  std::array<int, 16> offsets;
  offsets.fill(-1);
  const std::span<int> room(offsets.data(), offsetRoom);
  const int fields = CheckNmeaSentence(std::span<char>(line.get(), input.size()), room);
  Check(fields >= 1 || fields == kNmeaNoDollar || fields == kNmeaBadHex || fields == kNmeaTrailing ||
        fields == kNmeaChecksumMismatch || fields == kNmeaNoStar);
  if (fields < 1) return;
  const size_t star = input.find('*');
  Check(star != std::string_view::npos && fields == Commas(input.substr(0, star)) + 1);
  const std::string_view split(line.get(), input.size());
  const size_t filled = std::min(static_cast<size_t>(fields), offsetRoom);
  for (size_t i = 0; i < offsetRoom; ++i) {
    if (i >= filled) {
      Check(offsets[i] == -1);
      continue;
    }
    Check(offsets[i] >= 0 && static_cast<size_t>(offsets[i]) <= star);
    const std::string_view field = NmeaField(split, offsets[i]);
    Check(field.find(',') == std::string_view::npos && field.find('*') == std::string_view::npos);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  for (const size_t room : {0, 1, 5, 16}) CheckReceived(input, room);

  // Our own requests: "$" and a body without "*" always pass once finished.
  std::string request = "$" + std::string(input.substr(0, input.find_first_of("*\r\n")));
  FinishNmeaSentence(request);
  Check(request.ends_with("\r\n"));
  request.resize(request.size() - 2);
  const int commas = Commas(request);  // before the check splits the line
  Check(CheckNmeaSentence(request, {}) == commas + 1);
  return 0;
}
