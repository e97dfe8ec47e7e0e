#include "competition/competition_file_name.hpp"

#include "base/c_format.hpp"
#include "settings/utf8_text.hpp"

namespace trelvik {

std::string SafeFileNamePiece(std::string_view name) {
  std::string safe(name);
  bool leading = true;
  for (char& c : safe) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F || (leading && c == '.')) c = '_';
    if (c != '_') leading = false;
  }
  return safe;
}

std::optional<std::string> CompetitionFileBase(std::string_view compDir, std::string_view pilotName, int32_t civlId,
                                               int32_t compId, const SystemTime& time) {
  std::string name(compDir);
  if (!name.empty() && name.back() != '/') name += '/';
  name += pilotName.empty() ? std::string("[pilot name]") : SafeFileNamePiece(pilotName);
  name += CFormat(".%d%02d%02d-%02d%02d%02d", time.year, time.month, time.day, time.hour, time.minute, time.second);
  name += civlId >= 0 ? CFormat(".%d", civlId) : std::string(".[CIVLID]");
  name += compId >= 0 ? CFormat(".%d", compId) : std::string(".[COMPID]");
  if (CutToCharacters(name, kCompetitionNameLimit).size() < name.size()) return std::nullopt;
  return name;
}

}  // namespace trelvik
