#include "trackfiles/xml_attributes.hpp"

#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "trackfiles/decimal_digits.hpp"
#include "trackfiles/xml_tokenizer.hpp"

namespace trelvik {
namespace {

struct AttrValue {
  const char* begin = nullptr;  // first character after the opening quote
  const char* end = nullptr;    // the closing quote, or the end of the text
  bool closed = false;
};

constexpr bool IsQuote(char c) { return c == '"' || c == '\''; }

// Walks the attribute text word by word. A word that opens a quoted value
// ("name=" and a quote) is skipped up to its closing quote, so that text inside
// a value (an instrument called "x hash='1'") is never taken for an attribute.
bool FindAttr(const char* attributes, const char* name, AttrValue& found) {
  if (attributes == nullptr) return false;
  const size_t nameLength = std::strlen(name);
  const char* p = attributes;
  while (*p != '\0') {
    while (IsXmlSpace(*p)) ++p;
    if (*p == '\0') break;
    size_t same = 0;
    while (same < nameLength && p[same] == name[same]) ++same;  // stops at the text's end as well
    if (same == nameLength && p[nameLength] == '=' && IsQuote(p[nameLength + 1])) {
      const char quote = p[nameLength + 1];
      found.begin = p + nameLength + 2;
      const char* close = std::strchr(found.begin, quote);
      found.closed = close != nullptr;
      found.end = close != nullptr ? close : found.begin + std::strlen(found.begin);
      return true;
    }
    while (*p != '\0' && !IsXmlSpace(*p)) {
      if (*p == '=' && IsQuote(p[1])) {
        const char* close = std::strchr(p + 2, p[1]);
        if (close == nullptr) return false;
        p = close + 1;
      } else {
        ++p;
      }
    }
  }
  return false;
}

const char* SkipDigits(const char* p, const char* end) {
  while (p < end && *p >= '0' && *p <= '9') ++p;
  return p;
}

}  // namespace

int GetXmlAttrText(const char* attributes, const char* name, std::string& value, size_t maximum) {
  value.clear();
  AttrValue found;
  if (!FindAttr(attributes, name, found)) return -1;
  const size_t length = static_cast<size_t>(found.end - found.begin);
  value.assign(found.begin, length < maximum ? length : maximum);
  return 0;
}

int GetXmlAttrInt(const char* attributes, const char* name, int& value) {
  AttrValue found;
  if (!FindAttr(attributes, name, found) || found.begin == found.end) return -1;
  const char* p = found.begin;
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  const char* digitsEnd = SkipDigits(p, found.end);
  if (digitsEnd == p || digitsEnd != found.end || !found.closed) return -2;
  int64_t number = 0;
  for (; p < digitsEnd; ++p) {
    number = number * 10 + (*p - '0');
    if (number > INT32_MAX + int64_t{1}) return -2;
  }
  if (negative) number = -number;
  if (number > INT32_MAX || number < INT32_MIN) return -2;
  value = static_cast<int>(number);
  return 0;
}

int GetXmlAttrReal(const char* attributes, const char* name, double& value) {
  AttrValue found;
  if (!FindAttr(attributes, name, found) || found.begin == found.end) return -1;
  const char* p = found.begin;
  const bool negative = *p == '-';
  if (*p == '+' || *p == '-') ++p;
  uint64_t sum = 0;
  const char* integerEnd = SumDigits(p, found.end, sum);
  if (integerEnd == p) return -2;
  const char* numberEnd = integerEnd;
  if (numberEnd < found.end && (*numberEnd == '.' || *numberEnd == ',')) {
    numberEnd = SumDigits(numberEnd + 1, found.end, sum);
  }
  if (numberEnd != found.end || !found.closed) return -2;
  // Never the locale's reading: a decimal point or a decimal comma.
  const std::string_view integer(p, static_cast<size_t>(integerEnd - p));
  const std::string_view fraction =
      integerEnd < numberEnd ? std::string_view(integerEnd + 1, static_cast<size_t>(numberEnd - integerEnd - 1))
                             : std::string_view();
  double parsed = 0;
  if (!DecimalFromDigits(integer, fraction, sum, parsed)) return -2;
  value = negative ? -parsed : parsed;
  return 0;
}

// Above the blank: neither white space nor the terminator. Most characters
// of a text are, and one comparison tells.
constexpr bool IsWordCharacter(char c) { return static_cast<unsigned char>(c) > ' '; }

size_t NormalizeSpace(char* text) {
  if (text == nullptr) return 0;
  // Most texts are already normal: single blanks between words. Nothing is
  // moved up to the first white space that is not such a blank.
  char* out = text;
  for (;; ++out) {
    if (IsWordCharacter(*out)) continue;
    if (*out == '\0') return static_cast<size_t>(out - text);
    if (!IsXmlSpace(*out)) continue;
    if (*out == ' ' && out != text && out[1] != '\0' && !IsXmlSpace(out[1])) continue;
    break;
  }
  const char* in = out;
  while (IsXmlSpace(*in)) ++in;
  if (out != text && *in != '\0') *out++ = ' ';
  while (*in != '\0') {
    // A word is found first and then moved in one piece.
    const char* word = in;
    while (IsWordCharacter(*in) || (*in != '\0' && !IsXmlSpace(*in))) ++in;
    std::memmove(out, word, static_cast<size_t>(in - word));
    out += in - word;
    while (IsXmlSpace(*in)) ++in;
    if (*in != '\0') *out++ = ' ';
  }
  *out = '\0';
  return static_cast<size_t>(out - text);
}

void NormalizeSpace(std::string& text) { text.resize(NormalizeSpace(text.data())); }

}  // namespace trelvik
