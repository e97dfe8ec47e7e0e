// The OLC claim's field parsers and encoding on arbitrary bytes. The input is
// split at its first two line feeds into a birth date, a flight number and a
// pilot text. A birth date that parses prints back to itself; a flight number
// is all digits; an encoded text holds no byte that could start a field or
// become a blank, decodes back to the bytes it came from, and leaves the
// claim line with exactly its own fields.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "analysis/olc/olc_claim.hpp"
#include "base/c_format.hpp"
#include "base/user_interface.hpp"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// The checks pass with every field filled; any box is a fault.
class NoBoxes : public trelvik::UserInterface {
 public:
  void ShowMessage(trelvik::MessageKind, std::string_view, std::string_view) override { std::abort(); }
  trelvik::Answer Ask(trelvik::QuestionKind, std::string_view, std::string_view) override { std::abort(); }
  std::optional<std::string> ChooseFile(const trelvik::FileDialogRequest&) override { std::abort(); }
  void SetStatus(std::string_view) override {}
  void SetProduct(std::string_view) override {}
};

int HexValue(char c) { return c <= '9' ? c - '0' : c - 'A' + 10; }

std::string_view Take(std::string_view& rest) {
  const size_t end = rest.find('\n');
  const std::string_view part = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
  return part;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace trelvik::olc;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  const std::string_view birthDate = Take(rest);
  const std::string_view flightNumber = Take(rest);
  const std::string_view text = rest;

  if (const std::optional<BirthDate> born = ParseBirthDate(birthDate)) {
    Check(trelvik::CFormat("%02d.%02d.%02d", born->day, born->month, born->year) == birthDate);
  }
  if (const std::optional<int> number = ParseFlightNumber(flightNumber)) {
    Check(!flightNumber.empty() && *number >= 0);
    for (const char c : flightNumber) Check(c >= '0' && c <= '9');
  }

  const std::string encoded = UrlEncode(text);
  std::string decoded;
  for (size_t i = 0; i < encoded.size(); ++i) {
    const char c = encoded[i];
    Check(c != '&' && c != '+' && c != '=' && c != ' ' && static_cast<unsigned char>(c) > 0x20 &&
          static_cast<unsigned char>(c) < 0x7F);
    if (c == '%') {
      Check(i + 2 < encoded.size());
      decoded += static_cast<char>(HexValue(encoded[i + 1]) * 16 + HexValue(encoded[i + 2]));
      i += 2;
    } else {
      decoded += c;
    }
  }
  Check(decoded == text);

  NoBoxes ui;
  PilotFields fields;
  fields.firstName = fields.lastName = fields.gliderType = fields.startPlace = fields.callSign = std::string(text);
  fields.birthDate = "01.01.80";
  fields.gliderClass = 0;
  fields.flightNumber = "1";
  if (text.empty()) return 0;
  const std::optional<CheckedPilot> pilot = CheckPilotFields(ui, fields);
  Check(pilot.has_value());
  const std::string line = ClaimLine(*pilot, std::string(text), {}, 472);
  size_t separators = 0;
  for (const char c : line) separators += c == '&' ? 1 : 0;
  // na, geb, gty, sta, gid, klasse, igcfn, flugzeug, ft, s0, 5 x 8 corners, s4, software.
  Check(separators == 52);
  return 0;
}
