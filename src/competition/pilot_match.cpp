#include "competition/pilot_match.hpp"

#include "base/c_format.hpp"

namespace trelvik {
namespace {

std::optional<size_t> FindBy(const PilotList& list, int32_t id, bool civl) {
  if (id < 0) return std::nullopt;
  for (size_t i = 0; i < list.entries.size(); ++i) {
    if ((civl ? list.entries[i].civlId : list.entries[i].compId) == id) return i;
  }
  return std::nullopt;
}

}  // namespace

std::optional<size_t> MatchPilot(const PilotList& list, const PilotIds& ids, std::string& why) {
  const struct {
    int32_t id;
    bool civl;
  } tries[] = {
      {ids.instrumentCivlId, true}, {ids.instrumentCompId, false}, {ids.givenCivlId, true}, {ids.givenCompId, false}};
  std::string tried;
  for (const auto& attempt : tries) {
    if (const std::optional<size_t> found = FindBy(list, attempt.id, attempt.civl)) return found;
    if (attempt.id < 0) continue;
    if (!tried.empty()) tried += ", ";
    tried += CFormat(attempt.civl ? "CIVL ID %d" : "COMP ID %d", attempt.id);
  }
  why = tried.empty() ? std::string("No pilot ID in the instrument or on the command line")
                      : "No pilot in the list has " + tried;
  return std::nullopt;
}

}  // namespace trelvik
