#include "base/c_format.hpp"

#include <gtest/gtest.h>

#include <clocale>

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
