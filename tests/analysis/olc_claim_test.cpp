// The claim of an OLC flight: encoding of the values, the checks of the pilot
// fields in their order, the claim line field by field, the file layout and
// the texts of the dialog.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "analysis/generated_tracks.hpp"
#include "analysis/olc/olc_claim.hpp"
#include "analysis/olc/olc_computation.hpp"
#include "analysis/olc/olc_texts.hpp"
#include "records/track_time.hpp"
#include "support/scripted_user_interface.hpp"

namespace trelvik::olc {
namespace {

TEST(OlcUrlEncode, KeepsTheSafeCharactersAndEncodesEveryOtherByte) {
  const std::pair<std::string, std::string> cases[] = {
      {"Anna-Lena_Z.9", "Anna-Lena_Z.9"},
      {"!$()*,", "!$()*,"},
      {"Hans Meier", "Hans%20Meier"},
      {"\xC5sa", "%C5sa"},
      // These three would start a field or become a blank in a query parser.
      {"a&na=x", "a%26na%3Dx"},
      {"1+1", "1%2B1"},
      {"50%", "50%25"},
      {std::string("\0\n\xFF", 3), "%00%0A%FF"},
      {"", ""},
  };
  for (const auto& [raw, encoded] : cases) EXPECT_EQ(UrlEncode(raw), encoded) << raw;
}

TEST(OlcBirthDate, TakesOnlyRealDatesAsDdMmYy) {
  const std::pair<std::string_view, bool> cases[] = {
      {"01.01.80", true},  {"31.12.99", true},  {"29.02.96", true},    {"29.02.00", true},  {"28.02.97", true},
      {"29.02.97", false}, {"31.04.80", false}, {"31.06.80", false},   {"31.09.80", false}, {"31.11.80", false},
      {"30.11.80", true},  {"00.01.80", false}, {"32.01.80", false},   {"01.00.80", false}, {"01.13.80", false},
      {"1.1.80", false},   {"01-01-80", false}, {"01.01.1980", false}, {" 1.01.80", false}, {"01.01.8a", false},
      {"", false},
  };
  for (const auto& [text, valid] : cases) EXPECT_EQ(ParseBirthDate(text).has_value(), valid) << text;
}

PilotFields Complete() {
  PilotFields f;
  f.firstName = "Hans";
  f.lastName = "Meier";
  f.birthDate = "05.07.71";
  f.gliderClass = 3;
  f.gliderType = "Advance Sigma";
  f.callSign = "";
  f.startPlace = "Fiesch";
  f.region = RegionIndex("CH");
  f.flightNumber = "2";
  return f;
}

TEST(OlcPilotFields, ChecksInTheDialogsOrder) {
  struct Case {
    void (*change)(PilotFields&);
    const char* message;
  };
  const Case cases[] = {
      {[](PilotFields& f) { f = PilotFields{}; }, "Missing first name"},
      {[](PilotFields& f) {
         f.lastName.clear();
         f.birthDate.clear();
       },
       "Missing last name"},
      {[](PilotFields& f) {
         f.birthDate.clear();
         f.gliderType.clear();
       },
       "Missing birth date"},
      {[](PilotFields& f) { f.birthDate = "31.02.80"; }, "Bad birth date format"},
      {[](PilotFields& f) {
         f.gliderClass.reset();
         f.gliderType.clear();
       },
       "Combo box read error"},
      {[](PilotFields& f) {
         f.gliderType.clear();
         f.startPlace.clear();
       },
       "Missing glider type"},
      {[](PilotFields& f) { f.startPlace.clear(); }, "Missing start place"},
      {[](PilotFields& f) { f.flightNumber.clear(); }, "Missing flight number"},
      {[](PilotFields& f) { f.flightNumber = "2a"; }, "Bad flight number input"},
      {[](PilotFields& f) { f.flightNumber = "-1"; }, "Bad flight number input"},
      {[](PilotFields& f) { f.flightNumber = "0"; }, "Flight number out of range"},
      {[](PilotFields& f) { f.flightNumber = "36"; }, "Flight number out of range"},
  };
  for (const Case& c : cases) {
    PilotFields fields = Complete();
    c.change(fields);
    testing::ScriptedUserInterface ui;
    EXPECT_FALSE(CheckPilotFields(ui, fields)) << c.message;
    ASSERT_EQ(ui.boxes.size(), 1u) << c.message;
    EXPECT_EQ(ui.boxes[0].text, c.message);
    EXPECT_EQ(ui.boxes[0].caption, "User information input");
  }
  testing::ScriptedUserInterface ui;
  const std::optional<CheckedPilot> checked = CheckPilotFields(ui, Complete());
  ASSERT_TRUE(checked);
  EXPECT_TRUE(ui.boxes.empty());
  EXPECT_EQ(checked->classCode, 4);  // "Paraglider (sport)"
  EXPECT_EQ(checked->flightNumber, 2);
}

TEST(OlcLists, ClassesAndRegionsAsShown) {
  ASSERT_EQ(GliderClasses().size(), 5u);
  EXPECT_EQ(GliderClasses()[0].name, "Flexible wing");
  EXPECT_EQ(GliderClasses()[4].code, 5);
  EXPECT_EQ(Regions()[0].text, "   Unknown");
  EXPECT_EQ(Regions()[RegionIndex("DE")].text, "DE Germany / Deutchland");
  EXPECT_EQ(Regions()[RegionIndex("ZA")].text, "ZA South Africa / RSA");
  EXPECT_EQ(RegionIndex("XX"), 0u);
  EXPECT_EQ(GliderClassIndex("Rigid wing"), 1u);
  EXPECT_FALSE(GliderClassIndex("Balloon"));
}

TrackPoint At(TrackTime time, Semicircle lat, Semicircle lon) {
  TrackPoint p;
  p.time = time;
  p.lat = lat;
  p.lon = lon;
  return p;
}

CheckedPilot Checked(PilotFields fields) {
  testing::ScriptedUserInterface ui;
  return *CheckPilotFields(ui, fields);
}

TEST(OlcClaimLine, FieldsInTheirOrder) {
  const TrackTime day = TrackTimeFromDate({2024, 6, 0, 1, 0, 0, 0, 0});
  // 47 30.500 N, 8 15.250 W; the other corners on the equator and meridian.
  const TrackPoint w0 = At(day + 10 * 3600 + 5 * 60 + 9, 566796494, -98476044);
  const TrackPoint other = At(day + 11 * 3600, 0, 0);
  const TrackPoint w4 = At(day + 15 * 3600 + 30, 0, 0);
  PilotFields fields = Complete();
  fields.firstName = "Anna Lena";
  fields.callSign = "D&X=1";
  const std::string line = ClaimLine(Checked(fields), "2024-06-01-XTV-000-02", {w0, other, other, other, w4}, 472);
  auto corner = [](int n) {
    const std::string d = std::to_string(n);
    return "&w" + d + "bh=N&w" + d + "bg=0&w" + d + "bm=00&w" + d + "bmd=000&w" + d + "lh=E&w" + d + "lg=0&w" + d +
           "lm=00&w" + d + "lmd=000";
  };
  EXPECT_EQ(line,
            "OLCvnolc=Anna%20Lena&na=Meier&geb=05.07.71&gty=Advance%20Sigma&sta=Fiesch&region=CH&gid=D%26X%3D1"
            "&klasse=4&igcfn=2024-06-01-XTV-000-02&flugzeug=1&ft=154649&s0=10:05:09"
            "&w0bh=N&w0bg=47&w0bm=30&w0bmd=500&w0lh=W&w0lg=8&w0lm=15&w0lmd=250" +
                corner(1) + corner(2) + corner(3) + corner(4) + "&s4=15:00:30&software=Trelvik472");
}

TEST(OlcClaimLine, NoRegionNoFieldAndMidnightPassesIntoTheNextDay) {
  const TrackTime day = TrackTimeFromDate({2024, 6, 0, 1, 0, 0, 0, 0});
  const TrackPoint w0 = At(day + 23 * 3600, 0, 0);
  const TrackPoint w4 = At(day + 86400 + 3600 + 2, 0, 0);
  PilotFields fields = Complete();
  fields.region = 0;
  const std::string line = ClaimLine(Checked(fields), "4610X002", {w0, w0, w0, w4, w4}, 472);
  EXPECT_EQ(line.find("&region="), std::string::npos);
  EXPECT_NE(line.find("&s0=23:00:00&"), std::string::npos);
  EXPECT_NE(line.find("&s4=25:00:02&"), std::string::npos);
}

TEST(OlcClaimFile, LineThenTheIgcFileUnchanged) {
  EXPECT_EQ(ClaimFile("OLCvnolc=A", ""), "OLCvnolc=A");
  EXPECT_EQ(ClaimFile("OLCvnolc=A", "AXTV000\r\nB...\r\n"), "OLCvnolc=A&IGCigcIGC=AXTV000\r\nB...\r\n");
}

TEST(OlcTexts, ProgressAndBestResult) {
  EXPECT_EQ(ProgressText(0, 10), "0 %");
  EXPECT_EQ(ProgressText(5, 10), "50 %");
  EXPECT_EQ(ProgressText(995, 1000), "Done:");
  EXPECT_EQ(ProgressText(3, 0), "Done:");
  OlcResult r;
  r.best = BestKind::FreeTriangle;
  r.bestPoints = 123.456;
  EXPECT_EQ(BestResultText(r), "Best result is free triangle with 123.46 points");
  r.best = BestKind::FaiTriangle;
  EXPECT_EQ(BestResultText(r), "Best result is FAI triangle with 123.46 points");
  r.best = BestKind::FreeDistance;
  EXPECT_EQ(BestResultText(r), "Best result is free distance with 123.46 points");
}

TEST(OlcTexts, SectionsNameEveryPoint) {
  std::vector<TrackPoint> points;
  for (int i = 0; i < 10; ++i) {
    points.push_back(testing::PointAt(0, 1000.0 * i, 0));
    points.back().time = 86400 * 5000 + 3600 * 10 + i;
  }
  OlcResult r;
  r.fivePoints = {{0, 2, 4, 6, 9}, {2000, 2000, 2000, 3000}, 9000};
  const std::vector<ResultSection> sections = ResultSections(r, points);
  ASSERT_EQ(sections.size(), 5u);
  EXPECT_EQ(sections[1].title, "MAX. DISTANCE (Start point A, turnpoints BCD, end point E)");
  ASSERT_EQ(sections[1].lines.size(), 5u);
  EXPECT_EQ(sections[1].lines[0].substr(0, 16), "A  1  10:00:00  ");
  EXPECT_EQ(sections[1].lines[4].substr(sections[1].lines[4].size() - 7), "3.00 km");
  EXPECT_EQ(sections[1].total, "9.00 km");
  EXPECT_TRUE(sections[0].lines.empty());
  EXPECT_TRUE(sections[4].lines.empty());
}

TEST(OlcOpening, RefusesTooFewPointsAndAbsurdTimeSpans) {
  struct Case {
    int count;
    uint32_t lastTime;
    const char* message;  // nullptr: accepted
  };
  const Case cases[] = {
      {4, 100, "Number of positions must be 5 or more"},
      {5, 100, nullptr},
      {5, 86399, nullptr},
      {5, 86400, "Positions span 24 hours or more"},
      {5, 4000000000u, "Positions span 24 hours or more"},
  };
  for (const Case& c : cases) {
    std::vector<TrackPoint> points;
    for (int i = 0; i < c.count; ++i) {
      points.push_back(testing::PointAt(0, 100.0 * i, 0));
      points.back().time = static_cast<TrackTime>(i);
    }
    points.back().time = c.lastTime;
    testing::ScriptedUserInterface ui;
    const std::unique_ptr<OlcSearch> search = PrepareOlcSearch(ui, points);
    EXPECT_EQ(search == nullptr, c.message != nullptr) << c.count << " " << c.lastTime;
    if (c.message != nullptr) {
      ASSERT_EQ(ui.boxes.size(), 1u);
      EXPECT_EQ(ui.boxes[0].text, c.message);
      EXPECT_EQ(ui.boxes[0].caption, "Initialize OLC statistics");
    }
  }
}

TEST(OlcComputation, RunsOnItsThreadAndReportsEachStep) {
  std::unique_ptr<OlcSearch> search = std::make_unique<OlcSearch>(testing::RandomWalkFlight(600, 200, 4));
  OlcComputation computation;
  std::vector<std::string> steps;
  std::atomic<bool> done{false};
  ASSERT_TRUE(computation.Start(
      std::move(search), [&steps](std::string_view text) { steps.emplace_back(text); },
      [&done](OlcOutcome) { done = true; }));
  while (!computation.IsFinished()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_TRUE(done);
  EXPECT_TRUE(computation.Completed());
  EXPECT_EQ(computation.Progress(), "Done:");
  const std::vector<std::string> expected = {"Computing distance matrix", "Max. distance search",
                                             "Out-and-return search", "Triangle search", "Optimization completed"};
  EXPECT_EQ(steps, expected);
}

}  // namespace
}  // namespace trelvik::olc
