#pragma once
// The pilot and flight data of an OLC claim: the dialog's lists of glider
// classes and regions, and the checks of the fields in the order the dialog
// makes them.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/user_interface.hpp"

namespace trelvik::olc {

inline constexpr std::string_view kUserInputCaption = "User information input";

struct GliderClass {
  std::string_view name;  // shown
  int32_t code;           // written as "&klasse="
};
std::span<const GliderClass> GliderClasses();

struct Region {
  std::string_view code;  // written as "&region="; empty: none chosen
  std::string_view text;  // shown
};
// The first entry is "   Unknown", no region.
std::span<const Region> Regions();
// The index of the region with `code` (0 when none matches).
size_t RegionIndex(std::string_view code);
// The index of the class named `name`; nothing when none is.
std::optional<size_t> GliderClassIndex(std::string_view name);

// The fields as entered; texts are the bytes the claim will carry.
struct PilotFields {
  std::string firstName, lastName, birthDate, gliderType, callSign, startPlace;
  std::optional<size_t> gliderClass;  // index into GliderClasses(); nothing: unreadable
  size_t region = 0;                  // index into Regions()
  std::string flightNumber;
};

struct CheckedPilot {
  PilotFields fields;  // the birth date written again as "%02d.%02d.%02d"
  int32_t classCode = 0;
  int flightNumber = 0;  // 1..35
};

struct BirthDate {
  int day, month, year;  // year: two digits
};
// Exactly dd.mm.yy with a real day of that month (February 29 when the year
// is divisible by 4).
std::optional<BirthDate> ParseBirthDate(std::string_view text);

// An unsigned decimal number of at most nine digits, else nothing.
std::optional<int> ParseFlightNumber(std::string_view text);

// Shows the first failing check under kUserInputCaption.
std::optional<CheckedPilot> CheckPilotFields(UserInterface& ui, const PilotFields& fields);

}  // namespace trelvik::olc
