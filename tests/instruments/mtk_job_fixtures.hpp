#pragma once
// An MTK logger job on a scripted link and the whole conversation of a log
// download, built here from the protocol's own sentences.
#include <string>
#include <vector>

#include "instruments/mtk_fixtures.hpp"

namespace trelvik::testing {

struct MtkJob : ScriptedJob {
  MtkJob() { job.protocol = ProtocolType::MtkLogger; }
};

// Product, logging status, logging off, memory used, every chunk of `used`
// bytes of `image`, logging on (when it was on).
struct MtkConversation {
  enum class Until { All, MemoryRequest, FirstChunkRequest };

  MtkConversation(const std::vector<uint8_t>& memory, uint32_t usedBytes) : image(memory), used(usedBytes) {}

  const std::vector<uint8_t>& image;
  uint32_t used;
  bool loggingOn = true;
  bool wrongFirstAddress = false;  // the first chunk comes back for another address first
  Until lastStep = Until::All;     // the logger falls silent after this request
  size_t chunks = 0;               // chunk requests scripted

  void Script(LinkScript& script) {
    requests_.clear();
    Ask(script, "PMTK605").Answer(Sentence("PMTK705,AXN_1.0,0001,Sim,1.0"));
    Ask(script, "PMTK182,2,7").Answer(Sentence(loggingOn ? "PMTK182,3,7,2" : "PMTK182,3,7,0"));
    Ask(script, "PMTK182,5").Answer(Sentence("PMTK001,182,5,3"));
    Ask(script, "PMTK182,2,8");
    if (lastStep == Until::MemoryRequest) return;
    script.Answer(Sentence(CFormat("PMTK182,3,8,%X", used)) + Sentence("PMTK001,182,2,3"));
    for (uint32_t address = 0; address < used; address += 256, ++chunks) {
      Ask(script, CFormat("PMTK182,7,%08X,00000100", address));
      if (lastStep == Until::FirstChunkRequest) return;
      if (wrongFirstAddress && address == 0) {
        script.Answer(Sentence("PMTK182,8,00000100," + MtkHex(image.data() + 256, 256)));
        Ask(script, CFormat("PMTK182,7,%08X,00000100", address));
      }
      script.Answer(MtkChunkAnswer(image, address) + Sentence("PMTK001,182,7,3"));
    }
    if (loggingOn) Ask(script, "PMTK182,4").Answer(Sentence("PMTK001,182,4,3"));
  }

  // Every request scripted, in order.
  const std::string& Requests() const { return requests_; }

 private:
  LinkScript& Ask(LinkScript& script, const std::string& body) {
    requests_ += Sentence(body);
    return script.Expect(Sentence(body));
  }
  std::string requests_;
};

}  // namespace trelvik::testing
