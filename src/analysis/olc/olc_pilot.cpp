#include "analysis/olc/olc_pilot.hpp"

#include <array>

#include "base/c_format.hpp"
#include "base/message_box.hpp"

namespace trelvik::olc {
namespace {

constexpr std::array<GliderClass, 5> kGliderClasses = {{
    {"Flexible wing", 1},
    {"Rigid wing", 2},
    {"Paraglider (open)", 3},
    {"Paraglider (sport)", 4},
    {"Paraglider (tandem)", 5},
}};

constexpr std::array<Region, 38> kRegions = {{
    {"", "   Unknown"},
    {"AF", "AF Africa"},
    {"AR", "AR Argentina"},
    {"AT", "AT Austria / Osterreich"},
    {"AU", "AU Australia"},
    {"BE", "BE Belgium"},
    {"BG", "BG Bulgaria"},
    {"BR", "BR Brazil"},
    {"CA", "CA Canada"},
    {"CH", "CH Switzerland / Schweiz"},
    {"CZ", "CZ Czech Republic"},
    {"DE", "DE Germany / Deutchland"},
    {"DK", "DK Denmark / Danmark"},
    {"ES", "ES Spain / Espana"},
    {"FI", "FI Finland / Suomi"},
    {"FR", "FR France"},
    {"GR", "GR Greece / Ellas or Ellada"},
    {"HR", "HR Croatia / Hrvatska"},
    {"HU", "HU Hungary / Magyarorszag"},
    {"IS", "IS Iceland / Island"},
    {"IT", "IT Italy / Italia"},
    {"JP", "JP Japan"},
    {"KR", "KR Korea"},
    {"LT", "LT Lithuania / Lietuvos Respublik"},
    {"LU", "LU Luxembourg"},
    {"MK", "MK Macedonia / Makedonija"},
    {"MX", "MX Mexico"},
    {"NL", "NL Netherlands / Nederland"},
    {"NO", "NO Norway / Norge"},
    {"PL", "PL Poland / Polska"},
    {"PT", "PT Portugal"},
    {"RU", "RU Russian Federation / Russia"},
    {"SE", "SE Sweden / Sverige"},
    {"SI", "SI Slovenia / Slovenija"},
    {"TR", "TR Turkey / Turkiye"},
    {"UK", "UK United Kingdom"},
    {"US", "US USA"},
    {"ZA", "ZA South Africa / RSA"},
}};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int TwoDigits(std::string_view text, size_t at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); }

int DaysIn(int month, int year) {
  switch (month) {
    case 2: return year % 4 == 0 ? 29 : 28;
    case 4:
    case 6:
    case 9:
    case 11: return 30;
    default: return 31;
  }
}

}  // namespace

std::span<const GliderClass> GliderClasses() { return kGliderClasses; }
std::span<const Region> Regions() { return kRegions; }

size_t RegionIndex(std::string_view code) {
  if (code.empty()) return 0;
  for (size_t i = 1; i < kRegions.size(); ++i) {
    if (kRegions[i].code == code) return i;
  }
  return 0;
}

std::optional<size_t> GliderClassIndex(std::string_view name) {
  for (size_t i = 0; i < kGliderClasses.size(); ++i) {
    if (kGliderClasses[i].name == name) return i;
  }
  return std::nullopt;
}

std::optional<BirthDate> ParseBirthDate(std::string_view text) {
  if (text.size() != 8 || text[2] != '.' || text[5] != '.') return std::nullopt;
  for (const size_t at : {0, 1, 3, 4, 6, 7}) {
    if (!IsDigit(text[at])) return std::nullopt;
  }
  const BirthDate date{TwoDigits(text, 0), TwoDigits(text, 3), TwoDigits(text, 6)};
  if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > DaysIn(date.month, date.year)) {
    return std::nullopt;
  }
  return date;
}

std::optional<int> ParseFlightNumber(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

std::optional<CheckedPilot> CheckPilotFields(UserInterface& ui, const PilotFields& fields) {
  auto fail = [&ui](std::string_view text) {
    ShowError(ui, text, kUserInputCaption);
    return std::nullopt;
  };
  if (fields.firstName.empty()) return fail("Missing first name");
  if (fields.lastName.empty()) return fail("Missing last name");
  if (fields.birthDate.empty()) return fail("Missing birth date");
  const std::optional<BirthDate> born = ParseBirthDate(fields.birthDate);
  if (!born) return fail("Bad birth date format");
  if (!fields.gliderClass || *fields.gliderClass >= kGliderClasses.size()) return fail("Combo box read error");
  if (fields.gliderType.empty()) return fail("Missing glider type");
  if (fields.startPlace.empty()) return fail("Missing start place");
  if (fields.flightNumber.empty()) return fail("Missing flight number");
  const std::optional<int> number = ParseFlightNumber(fields.flightNumber);
  if (!number) return fail("Bad flight number input");
  if (*number < 1 || *number > 35) return fail("Flight number out of range");
  CheckedPilot checked{fields, kGliderClasses[*fields.gliderClass].code, *number};
  checked.fields.birthDate = CFormat("%02d.%02d.%02d", born->day, born->month, born->year);
  if (checked.fields.region >= kRegions.size()) checked.fields.region = 0;
  return checked;
}

}  // namespace trelvik::olc
