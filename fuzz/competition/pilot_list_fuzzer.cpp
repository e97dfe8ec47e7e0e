// One pilot-list reader on arbitrary bytes: it either fails with a message or
// gives entries within the list's limits, and every list it gives is saved as
// CSV and read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "competition/pilot_list.hpp"
#include "competition/pilot_list_readers.hpp"
#include "settings/utf8_text.hpp"

namespace {

using trelvik::PilotEntry;

void Check(const std::vector<PilotEntry>& entries) {
  for (const PilotEntry& entry : entries) {
    if (entry.name.empty() || trelvik::CutToCharacters(entry.name, trelvik::kPilotNameLimit) != entry.name)
      std::abort();
    if (entry.compId < -1 || entry.civlId < -1) std::abort();
    for (const std::string& device : entry.devices) {
      if (trelvik::CutToCharacters(device, trelvik::kDeviceLimit) != device) std::abort();
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace trelvik;
  std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<PilotEntry> entries;
  std::string error;
#if defined(TRELVIK_PILOT_LIST_FS)
  const int result = ReadFsPilotList(text.data(), entries, error);
#elif defined(TRELVIK_PILOT_LIST_RACE)
  const int result = ReadRacePilotList(text.data(), entries, error);
#else
  const int result = ReadCsvPilotList(text, entries, error);
#endif
  if (result < 0) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (!IsValidUtf8(text)) return 0;  // the file reader makes every text UTF-8 first
  Check(entries);
  std::vector<PilotEntry> again;
  if (ReadCsvPilotList(PilotListCsvText(entries), again, error) != 0 || again != entries) std::abort();
  return 0;
}
