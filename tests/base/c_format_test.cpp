#include "base/c_format.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace trelvik {
namespace {

TEST(CFormat, IgnoresACommaDecimalLocale) {
  const char* previous = std::setlocale(LC_ALL, nullptr);
  const std::string saved = previous ? previous : "C";
  // Whatever locale the suite runs under, also try a comma-decimal one when present.
  std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(CFormat("%.2f|%012.4f|%07d", 46.5, 1234.56789, 42), "46.50|0001234.5679|0000042");
  EXPECT_EQ(ParseDoubleC(" 46.5 "), 46.5);
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(CFormat, LongTextsAreNotCut) {
  const std::string long_text(1000, 'x');
  EXPECT_EQ(CFormat("%s!", long_text.c_str()), long_text + "!");
}

TEST(ParseDoubleC, RejectsWhatIsNotANumber) {
  EXPECT_EQ(ParseDoubleC("+1.25"), 1.25);
  EXPECT_EQ(ParseDoubleC("-3"), -3.0);
  EXPECT_FALSE(ParseDoubleC(""));
  EXPECT_FALSE(ParseDoubleC("1,5"));
  EXPECT_FALSE(ParseDoubleC("1.5x"));
}

}  // namespace
}  // namespace trelvik

namespace trelvik {
namespace {

// The fast appenders feed the KML keyed hash, so every digit must be printf's.
TEST(AppendFixed, PrintsWhatPrintfPrints) {
  std::mt19937_64 random(11);
  std::uniform_real_distribution<double> degrees(-180.0, 180.0);
  std::vector<double> values = {0.0, -0.0, 0.5, -0.5, 1e-9, -1e-9, 179.9999995, 1e300, -123.4567895};
  for (int i = 0; i < 100000; ++i) values.push_back(degrees(random));
  // Exact ties round to even; coordinates read from text with seven decimals;
  // the edges of the moderate range and numbers far below one unit.
  for (double tie : {0.5, 1.5, 2.5, 0.125, 0.375, 2.0000005, 0.0000005, 0.0000015}) {
    values.insert(values.end(), {tie, -tie});
  }
  std::uniform_int_distribution<long long> tenMillionths(-1800000000LL, 1800000000LL);
  for (int i = 0; i < 100000; ++i) values.push_back(static_cast<double>(tenMillionths(random)) / 1e7);
  values.insert(values.end(), {999999999.9999999, 1e9, -1e9, 4e-320, 1e-30, std::nextafter(0.5, 1.0),
                               std::nextafter(0.5, 0.0)});
  for (double value : values) {
    for (int decimals : {0, 1, 2, 6, 9, 10}) {
      std::string text;
      AppendFixed(text, value, decimals);
      ASSERT_EQ(text, CFormat("%.*f", decimals, value)) << value;
    }
  }
  for (long long value : {0LL, -1LL, 2147483647LL, -2147483648LL, 9000000000LL}) {
    std::string text;
    AppendInteger(text, value);
    EXPECT_EQ(text, CFormat("%lld", value));
  }
}

// Read coordinates feed the keyed hash too: every value must be from_chars'.
TEST(DecimalValue, ReadsWhatFromCharsReads) {
  std::mt19937_64 random(12);
  std::uniform_int_distribution<int> length(0, 20);
  std::uniform_int_distribution<int> digit(0, 9);
  auto digits = [&](int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += static_cast<char>('0' + digit(random));
    return text;
  };
  std::vector<std::pair<std::string, std::string>> cases = {
      {"0", ""}, {"", "5"}, {"000123", "450"}, {"9007199254740993", ""}, {"1", "0000000000000000000000001"},
      {"179", "9999995"}, {"47", "1234567"}, {"99999999999999999999", "9"}};
  for (int i = 0; i < 200000; ++i) cases.emplace_back(digits(length(random)), digits(length(random)));
  for (const auto& [integer, fraction] : cases) {
    if (integer.empty() && fraction.empty()) continue;
    const std::string text = (integer.empty() ? "0" : integer) + (fraction.empty() ? "" : "." + fraction);
    double expected = 0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    const std::optional<double> value = DecimalValue(integer, fraction);
    ASSERT_TRUE(value.has_value()) << text;
    ASSERT_EQ(*value, expected) << text;
  }
  EXPECT_FALSE(DecimalValue("", "").has_value());
}

}  // namespace
}  // namespace trelvik
