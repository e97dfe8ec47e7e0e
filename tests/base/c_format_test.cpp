#include "base/c_format.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <random>
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
  for (double value : values) {
    for (int decimals : {0, 1, 6}) {
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

}  // namespace
}  // namespace trelvik
