#include "instruments/mtk/codec.hpp"

#include <charconv>

#include "access/nmea.hpp"
#include "base/c_format.hpp"

namespace trelvik::mtk {
namespace {

constexpr size_t kLongestSentence = 3000;
constexpr size_t kMostFields = 20;
constexpr size_t kTextLimit = 80;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::vector<std::string_view> SplitFields(std::string_view body) {
  std::vector<std::string_view> fields;
  size_t start = 0;
  while (fields.size() < kMostFields) {
    const size_t comma = body.find(',', start);
    if (comma == std::string_view::npos) {
      fields.push_back(body.substr(start));
      break;
    }
    fields.push_back(body.substr(start, comma - start));
    start = comma + 1;
  }
  return fields;
}

bool ParseNumber(std::string_view text, int base, uint32_t& value) {
  if (text.empty()) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return error == std::errc() && end == text.data() + text.size();
}

bool IsAck(const std::vector<std::string_view>& f, std::string_view command) {
  return f.size() >= 4 && f[0] == "PMTK001" && f[1] == "182" && f[2] == command && f[3] == "3";
}

}  // namespace

std::string ReadChunkRequest(uint32_t address) {
  std::string text = CFormat("$PMTK182,7,%08X,%08X", address, kChunkSize);
  FinishNmeaSentence(text);
  return text;
}

bool SentenceCollector::Feed(uint8_t c) {
  if (c == '$') {
    inSentence_ = true;
    overflow_ = false;
    sentence_.clear();
    return false;
  }
  if (!inSentence_) return false;
  if (c == '\r' || c == '\n' || c == 0) {
    inSentence_ = false;
    return !overflow_;
  }
  if (sentence_.size() >= kLongestSentence) {
    overflow_ = true;
  } else {
    sentence_ += static_cast<char>(c);
  }
  return false;
}

bool ChecksumMatches(std::string_view sentence) {
  if (sentence.size() < 3 || sentence[sentence.size() - 3] != '*') return false;
  const int high = HexValue(sentence[sentence.size() - 2]);
  const int low = HexValue(sentence[sentence.size() - 1]);
  if (high < 0 || low < 0) return false;
  uint8_t sum = 0;
  for (const char c : sentence.substr(0, sentence.size() - 3))
    sum = static_cast<uint8_t>(sum ^ static_cast<uint8_t>(c));
  return sum == high * 16 + low;
}

bool MatchAnswer(Step step, uint32_t address, std::string_view sentence, AnswerValues& values) {
  if (sentence.size() < 3) return false;
  const std::vector<std::string_view> f = SplitFields(sentence.substr(0, sentence.size() - 3));
  const bool status182 = f.size() >= 4 && f[0] == "PMTK182" && f[1] == "3";
  switch (step) {
    case Step::None: return false;
    case Step::Product:
      if (f.size() < 3 || f[0] != "PMTK705") return false;
      values.release = std::string(f[1].substr(0, kTextLimit));
      values.model = std::string(f[2].substr(0, kTextLimit));
      return true;
    case Step::LogStatus: return status182 && f[2] == "7" && ParseNumber(f[3], 10, values.logStatus);
    case Step::MemoryUsed: return status182 && f[2] == "8" && ParseNumber(f[3], 16, values.memoryUsed);
    case Step::LoggingOff: return IsAck(f, "5");
    case Step::LoggingOn: return IsAck(f, "4");
    case Step::Erase: return IsAck(f, "6");
    case Step::ReadChunk: {
      uint32_t answered = 0;
      if (f.size() < 4 || f[0] != "PMTK182" || f[1] != "8" || !ParseNumber(f[2], 16, answered)) return false;
      if (answered != address) return false;
      // Only the hex digits that came: a short or broken chunk leaves the
      // rest of the image as it was.
      values.address = answered;
      values.data.clear();
      const std::string_view hex = f[3];
      for (size_t i = 0; i + 1 < hex.size() && values.data.size() < kChunkSize; i += 2) {
        const int high = HexValue(hex[i]);
        const int low = HexValue(hex[i + 1]);
        if (high < 0 || low < 0) break;
        values.data.push_back(static_cast<uint8_t>(high * 16 + low));
      }
      return true;
    }
  }
  return false;
}

}  // namespace trelvik::mtk
