#include "airspace/openair_fields.hpp"

#include <gtest/gtest.h>

namespace trelvik {
namespace {

TEST(OpenAirPosition, AcceptedForms) {
  const struct {
    const char* text;
    double lat;
    double lon;
  } cases[] = {
      {"45:30.5 N 006:15 E", 45.508333333, 6.25},
      {"45.508333N 6.25E", 45.508333, 6.25},
      {"45:30:30 N 6:15:00 E", 45.508333333, 6.25},
      {"45:30:30.6 n 6:15:00.36 e", 45.5085, 6.2501},
      {"45,5 S 6,25 W", -45.5, -6.25},
      {"45 N 6 W", 45, -6},
      {"45N6E", 45, 6},
      {"89:59:59.9 S 179:59:59.9 W", -(89 + 59 / 60.0 + 59.9 / 3600), -(179 + 59 / 60.0 + 59.9 / 3600)},
      {"0:00:00 N 000:00:00 E", 0, 0},
      {"47:30:00 N 008:10:00 E *comment", 47.5, 8.1666666667},
      {"47:30:00 N 008:10:00 E*comment", 47.5, 8.1666666667},
      {"47:30:00 N 008:10:00 E trailing words", 47.5, 8.1666666667},
  };
  for (const auto& c : cases) {
    LatLonDegrees p;
    ASSERT_TRUE(ParseOpenAirPosition(c.text, p)) << c.text;
    EXPECT_NEAR(p.lat, c.lat, 1e-8) << c.text;
    EXPECT_NEAR(p.lon, c.lon, 1e-8) << c.text;
  }
}

TEST(OpenAirPosition, RefusedForms) {
  const char* cases[] = {
      "90:00:00 N 006:00:00 E",  // latitude must stay below 90
      "45:00:00 N 180:00:00 E",  // longitude below 180
      "45:60:00 N 006:00:00 E",  // minutes below 60
      "45:00:60 N 006:00:00 E",  // seconds below 60
      "45:00:00 006:00:00 E",    // hemisphere letter required
      "45:00:00 N 006:00:00",    //
      "45:00:00 E 006:00:00 N",  // letters in the wrong places
      "45:00:00 N 006:00:00 EX", // only an end, a blank or a comment after the longitude
      "45:00:00 N",              //
      "N 45 E 6",                //
      ":30 N 6 E",               //
      "45: N 6 E",               //
      "",                        //
      "45.5.5 N 6 E",            //
      "-45 N 6 E",               //
  };
  for (const char* text : cases) {
    LatLonDegrees p{1, 2};
    EXPECT_FALSE(ParseOpenAirPosition(text, p)) << text;
    EXPECT_EQ(p, (LatLonDegrees{1, 2})) << text;
  }
}

TEST(OpenAirCircle, RadiusUnits) {
  const struct {
    const char* text;
    bool ok;
    int32_t metres;
  } cases[] = {
      {"5", true, 9261},         {"5 km", true, 5000},   {"5KM", true, 5000},   {"5 Km", false, 0},
      {"5 kM", false, 0},        {"2,5", true, 4630},    {"2.5", true, 4630},   {"0.5 km", true, 500},
      {".5", true, 926},         {"0", false, 0},        {"10000", true, 18521850},
      {"10000.1", false, 0},     {"10001", false, 0},    {"5 *comment", true, 9261},
      {"5km*c", true, 5000},     {"5 nm", false, 0},     {"", false, 0},        {"km", false, 0},
      {"5 5", false, 0},         {"-5", false, 0},
  };
  for (const auto& c : cases) {
    int32_t metres = -1;
    EXPECT_EQ(ParseOpenAirCircle(c.text, metres), c.ok) << c.text;
    EXPECT_EQ(metres, c.ok ? c.metres : -1) << c.text;
  }
}

TEST(OpenAirArcAngles, RadiusAndTwoBearings) {
  const struct {
    const char* text;
    bool ok;
    int32_t metres;
    double start;
    double end;
  } cases[] = {
      {"5, 90, 180", true, 9261, 90, 180},
      {"2.6995, 90.00, 180.00", true, 5000, 90, 180},
      {"5km,0,360", true, 5000, 0, 360},
      {"5 KM , 270.5 , 10.25 *c", true, 5000, 270.5, 10.25},
      {"5,90", false, 0, 0, 0},
      {"5,90,361", false, 0, 0, 0},
      {"5,90,360.5", false, 0, 0, 0},
      {"2,5,90,180", false, 0, 0, 0},  // no comma fraction in an arc radius
      {"5,90,180 x", false, 0, 0, 0},
      {"5,,180", false, 0, 0, 0},
      {"0,90,180", false, 0, 0, 0},
  };
  for (const auto& c : cases) {
    int32_t metres = -1;
    double start = -1;
    double end = -1;
    EXPECT_EQ(ParseOpenAirArcAngles(c.text, metres, start, end), c.ok) << c.text;
    if (!c.ok) continue;
    EXPECT_EQ(metres, c.metres) << c.text;
    EXPECT_DOUBLE_EQ(start, c.start) << c.text;
    EXPECT_DOUBLE_EQ(end, c.end) << c.text;
  }
}

TEST(OpenAirArcPoints, TwoPositionsWithAComma) {
  LatLonDegrees start;
  LatLonDegrees end;
  ASSERT_TRUE(ParseOpenAirArcPoints("47:30:00 N 008:10:00 E,   47:35:00 N 008:15:00 E", start, end));
  EXPECT_NEAR(start.lat, 47.5, 1e-9);
  EXPECT_NEAR(end.lon, 8.25, 1e-9);
  ASSERT_TRUE(ParseOpenAirArcPoints("47.5N 8E ,47.6N 8.1E *c", start, end));
  EXPECT_NEAR(end.lat, 47.6, 1e-9);
  EXPECT_FALSE(ParseOpenAirArcPoints("47.5N 8E 47.6N 8.1E", start, end));
  EXPECT_FALSE(ParseOpenAirArcPoints("47.5N 8E,", start, end));
  EXPECT_FALSE(ParseOpenAirArcPoints("47.5N 8E, 47.6N 8.1Ex", start, end));
}

}  // namespace
}  // namespace trelvik
