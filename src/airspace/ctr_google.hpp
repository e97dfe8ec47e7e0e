#pragma once
// Airspaces as a JavaScript fragment for a Google Maps page: one polygon per
// airspace, coloured by class, its path in the Encoded Polyline Algorithm Format.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "airspace/ctr_area.hpp"
#include "airspace/ctr_gpx.hpp"
#include "base/user_interface.hpp"

namespace trelvik {

inline constexpr std::string_view kCtrGoogleCaption = "Save CTR(s) in Google API file";

// Google's Encoded Polyline Algorithm Format of (latitude, longitude) pairs in degrees.
std::string EncodePolyline(const std::vector<std::pair<double, double>>& points);

// The fragment for the selected airspaces, highest floor first (equal floors:
// highest ceiling first). -1 when an outline gives no points; nothing is reported.
[[nodiscard]] int FormatCtrGoogleApi(const CtrList& list, int32_t segError, TrackTime now, std::string& text);

// The command: selection, fragment, save dialog (".txt"), file, status "<file> written".
bool WriteCtrGoogleApi(UserInterface& ui, CtrList& list, const std::vector<int>& selectedRows, int32_t segError,
                       TrackTime now, std::string& folder);

}  // namespace trelvik
