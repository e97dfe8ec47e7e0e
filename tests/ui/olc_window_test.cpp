// The OLC dialog offscreen: the search runs on its worker while the window
// stays responsive, the results and best result appear, the claim file is
// written as laid out, a standard URL-query parser reads the entered fields
// back from its line, and the IGC file after it reads back.
#include "ui/analysis/olc_window.hpp"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrlQuery>
#include <cmath>
#include <cstdlib>

#include "base/atomic_file.hpp"
#include "geo/angles.hpp"
#include "qt_application.hpp"
#include "records/track_time.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "trackfiles/igc_decoder.hpp"
#include "trackfiles/igc_encoder.hpp"

namespace trelvik {
namespace {

// A fix `north` and `east` metres from 46 N 8 E, `seconds` into 2024-07-15.
TrackPoint PointAt(double north, double east, uint32_t seconds) {
  constexpr double kDegree = 3.14159265358979323846 / 180.0;
  constexpr double kMetresPerDegree = 111320.0;
  TrackPoint p;
  p.time = TrackTimeFromDate({2024, 7, 0, 15, 9, 0, 0, 0}) + seconds;
  p.lat = RadiansToSemicircle((46.0 + north / kMetresPerDegree) * kDegree);
  p.lon = RadiansToSemicircle((8.0 + east / (kMetresPerDegree * std::cos(46.0 * kDegree))) * kDegree);
  p.gpsAlt = 15000;
  p.baroAlt = 1500;
  return p;
}

// Hours of circling over a few kilometres: every pair of turnpoints closes,
// the triangle search's hardest case.
std::vector<TrackPoint> Circling(int count) {
  std::vector<TrackPoint> points;
  for (int i = 0; i < count; ++i) {
    const double a = i * 0.13, r = 1500.0 + 1400.0 * std::sin(i * 0.0007);
    points.push_back(PointAt(r * std::sin(a), r * std::cos(a) + 0.1 * i, static_cast<uint32_t>(i)));
  }
  return points;
}

// A loop of an hour: out east, north and back near the start, one fix every 4 s.
std::vector<TrackPoint> LoopFlight() {
  std::vector<TrackPoint> points;
  const double corners[][2] = {{0, 0}, {0, 20000}, {17000, 10000}, {300, 200}};
  uint32_t t = 0;
  for (int leg = 0; leg < 3; ++leg) {
    for (int step = 0; step < 300; ++step, t += 4) {
      const double f = step / 300.0;
      points.push_back(PointAt(corners[leg][0] + f * (corners[leg + 1][0] - corners[leg][0]),
                               corners[leg][1] + f * (corners[leg + 1][1] - corners[leg][1]), t));
    }
  }
  points.front().flags = kNewSegment;
  return points;
}

class OlcWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { testing::Application(); }

  std::unique_ptr<OlcWindow> Open(std::vector<TrackPoint> points, OlcFlightSource source) {
    source.date = points.front().time;
    std::unique_ptr<olc::OlcSearch> search = olc::PrepareOlcSearch(ui, std::move(points));
    EXPECT_TRUE(search);
    auto window = std::make_unique<OlcWindow>(std::move(search), std::move(source), settings, ui);
    QSignalSpy finished(window.get(), &OlcWindow::searchFinished);
    EXPECT_TRUE(finished.wait(120000));
    return window;
  }

  void Fill(OlcWindow& w) {
    w.FirstName().setText(QStringLiteral("Anna & Co=1+1"));
    w.LastName().setText(QStringLiteral("Meier-Müller"));
    w.BirthDate().setText(QStringLiteral("5.7.71"));  // corrected below
    w.BirthDate().setText(QStringLiteral("05.07.71"));
    w.GliderClass().setCurrentIndex(3);
    w.GliderType().setText(QStringLiteral("Sigma 10"));
    w.CallSign().setText(QStringLiteral("D?X#1"));
    w.StartPlace().setText(QStringLiteral("Fiesch / VS"));
    w.Region().setCurrentIndex(9);  // CH
    w.FlightNumber().setText(QStringLiteral("2"));
    w.LongFileName().setChecked(true);
  }

  Settings settings;
  testing::ScriptedUserInterface ui;
  testing::TempDir dir;
};

TEST_F(OlcWindowTest, ShowsTheResultsAndTheBestOne) {
  const std::unique_ptr<OlcWindow> w = Open(LoopFlight(), {});
  ASSERT_TRUE(w->Completed());
  EXPECT_EQ(w->StatusLine().text(), QStringLiteral("Optimization completed"));
  EXPECT_EQ(w->ProgressLine().text(), QStringLiteral("Done:"));
  const QString results = w->Results().toPlainText();
  for (const char* title : {"MAX. DISTANCE (Start point A, end point B)  (Not an OLC parameter)",
                            "MAX. DISTANCE (Start point A, turnpoints BCD, end point E)",
                            "OUT-AND-RETURN (Start point A, end point C)  (Not an OLC parameter)",
                            "FREE TRIANGLE (Triangle ABC. Start point D, end point E)",
                            "FAI TRIANGLE (Triangle ABC. Start point D, end point E)"}) {
    EXPECT_TRUE(results.contains(QString::fromLatin1(title))) << title;
  }
  EXPECT_TRUE(results.contains(QStringLiteral("Check:")));
  // A closed loop of about 20 + 19.7 + 19.8 km with every leg above 28 %.
  EXPECT_TRUE(w->FinalResult().text().startsWith(QStringLiteral("Best result is FAI triangle with ")))
      << w->FinalResult().text().toStdString();
  EXPECT_FALSE(w->HaltButton().isEnabled());
  EXPECT_TRUE(w->SaveOlcButton().isEnabled());

  // The dialog draws its results; with TRELVIK_SCREENSHOT_DIR set the picture
  // is kept for the documentation.
  Fill(*w);
  w->resize(w->sizeHint());
  const QImage picture = w->grab().toImage();
  ASSERT_FALSE(picture.isNull());
  EXPECT_GT(picture.width(), 400);
  if (const char* folder = std::getenv("TRELVIK_SCREENSHOT_DIR")) {
    EXPECT_TRUE(picture.save(QString::fromLocal8Bit(folder) + QStringLiteral("/olc-statistics.png")));
  }
}

TEST_F(OlcWindowTest, ClaimLineParsesBackToTheFieldsEntered) {
  std::unique_ptr<OlcWindow> w = Open(LoopFlight(), {});
  Fill(*w);
  w->FirstName().setText(QStringLiteral("Anna & Co=1+1"));
  w->LastName().setText(QStringLiteral("Meier-Mueller"));
  const std::string path = dir.File("claim.olc");
  ui.QueueFile(path);
  w->Save(false);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "File written");
  EXPECT_EQ(ui.boxes[0].caption, "Save OLC data");
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests[0].title, "Save OLC file");
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes.find('\n'), std::string::npos);
  EXPECT_EQ(bytes.find("&IGCigcIGC="), std::string::npos);

  const QUrlQuery query(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())));
  auto value = [&query](const char* key) { return query.queryItemValue(QString::fromLatin1(key), QUrl::FullyDecoded); };
  EXPECT_EQ(value("OLCvnolc"), QStringLiteral("Anna & Co=1+1"));
  EXPECT_EQ(value("na"), QStringLiteral("Meier-Mueller"));
  EXPECT_EQ(value("geb"), QStringLiteral("05.07.71"));
  EXPECT_EQ(value("gty"), QStringLiteral("Sigma 10"));
  EXPECT_EQ(value("sta"), QStringLiteral("Fiesch / VS"));
  EXPECT_EQ(value("region"), QStringLiteral("CH"));
  EXPECT_EQ(value("gid"), QStringLiteral("D?X#1"));
  EXPECT_EQ(value("klasse"), QStringLiteral("4"));
  EXPECT_EQ(value("flugzeug"), QStringLiteral("1"));
  EXPECT_EQ(value("software"), QStringLiteral("Trelvik472"));
  const QString igcName = value("igcfn");
  EXPECT_TRUE(igcName.endsWith(QStringLiteral("-XTV-000-02"))) << igcName.toStdString();
  EXPECT_EQ(ui.fileRequests[0].fileName, igcName.toStdString());
  // Every field once, nothing split off by a value: 11 named fields, 5 x 8
  // coordinates, ft, s0 and s4.
  EXPECT_EQ(query.queryItems().size(), 11 + 40 + 3);
  for (int i = 0; i < 5; ++i) {
    const QString hemisphere = value(("w" + std::to_string(i) + "bh").c_str());
    EXPECT_EQ(hemisphere, QStringLiteral("N"));
  }
  // The entered values are kept for the next claim.
  EXPECT_EQ(settings.olcFirstName, "Anna & Co=1+1");
  EXPECT_EQ(settings.olcRegion, "CH");
  EXPECT_EQ(settings.olcGliderClass, "Paraglider (sport)");
  EXPECT_EQ(settings.olcLongFileName, 1);
}

TEST_F(OlcWindowTest, LatinTextIsEncodedByteByByte) {
  std::unique_ptr<OlcWindow> w = Open(LoopFlight(), {});
  Fill(*w);
  w->FirstName().setText(QStringLiteral("\u00C5sa"));
  const std::string path = dir.File("latin.olc");
  ui.QueueFile(path);
  w->Save(false);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes.rfind("OLCvnolc=%C5sa&na=Meier-M%FCller&", 0), 0u) << bytes.substr(0, 60);
}

TEST_F(OlcWindowTest, AppendedIgcFileReadsBack) {
  OlcFlightSource source;
  source.signable = 1;
  source.description = "Test instrument";
  std::vector<TrackPoint> points = LoopFlight();
  const size_t count = points.size();
  std::unique_ptr<OlcWindow> w = Open(std::move(points), source);
  Fill(*w);
  const std::string path = dir.File("with-igc.olc");
  ui.QueueFile(path);
  w->Save(true);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "File written");
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  const size_t at = bytes.find("&IGCigcIGC=");
  ASSERT_NE(at, std::string::npos);
  const std::string igc = bytes.substr(at + 11);
  const IgcDecodeResult decoded = DecodeIgc(igc);
  ASSERT_TRUE(decoded.Ok()) << decoded.error;
  EXPECT_EQ(decoded.points.size(), count);
  EXPECT_EQ(decoded.maker, "XTV");
  EXPECT_NE(igc.find("HOPLTPILOT: Anna & Co=1+1 Meier-M\xFCller\r\n"), std::string::npos);
  ASSERT_FALSE(WriteFileAtomically(dir.File("appended.igc"), igc));

  // The program itself reads it back from its command line, signature and all.
  const QString program = QStringLiteral("build/trelvik");
  if (!QFileInfo(program).isExecutable()) GTEST_SKIP() << "build/trelvik not built";
  QProcess run;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(dir.File("config")));
  run.setProcessEnvironment(env);
  run.start(program, {QStringLiteral("/WIN=0"), QString::fromStdString("/LOGFILE=" + dir.File("appended.igc"))});
  ASSERT_TRUE(run.waitForFinished(60000));
  const QString out = QString::fromUtf8(run.readAllStandardOutput());
  EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
  EXPECT_TRUE(out.contains(QStringLiteral("Status: %1 positions read").arg(count))) << out.toStdString();
}

TEST_F(OlcWindowTest, UnsignedPointsSayTheFileHasNoSecurityRecord) {
  std::unique_ptr<OlcWindow> w = Open(LoopFlight(), {});
  Fill(*w);
  ui.QueueFile(dir.File("unsigned.olc"));
  w->Save(true);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "File written. NO security record");
}

TEST_F(OlcWindowTest, RawIgcBufferIsAppendedByteForByte) {
  std::vector<TrackPoint> points = LoopFlight();
  IgcEncoderInput input;
  input.points = points;
  input.serial = "ABC";
  const std::string raw = EncodeIgc(input).text;
  const IgcDecodeResult decoded = DecodeIgc(raw);
  ASSERT_TRUE(decoded.Ok());
  OlcFlightSource source;
  source.rawIgc = raw;
  source.maker = decoded.maker;
  source.serial = decoded.serial;
  std::unique_ptr<OlcWindow> w = Open(decoded.points, source);
  Fill(*w);
  w->LongFileName().setChecked(false);
  const std::string path = dir.File("raw.olc");
  ui.QueueFile(path);
  w->Save(true);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  const size_t at = bytes.find("&IGCigcIGC=");
  ASSERT_NE(at, std::string::npos);
  EXPECT_EQ(bytes.substr(at + 11), raw);
  // The short name: year digit, month and day digits, X, serial, flight number.
  EXPECT_NE(bytes.find("&igcfn="), std::string::npos);
  EXPECT_NE(bytes.find("XABC2&"), std::string::npos) << bytes.substr(0, 300);
}

TEST_F(OlcWindowTest, HaltedSearchCannotBeSaved) {
  std::vector<TrackPoint> points = Circling(20000);
  std::unique_ptr<olc::OlcSearch> search = olc::PrepareOlcSearch(ui, std::move(points));
  ASSERT_TRUE(search);
  OlcWindow w(std::move(search), {}, settings, ui);
  QSignalSpy finished(&w, &OlcWindow::searchFinished);
  w.Halt();
  ASSERT_TRUE(finished.wait(60000));
  EXPECT_FALSE(w.Completed());
  EXPECT_TRUE(w.StatusLine().text().contains(QStringLiteral("halted")) ||
              w.StatusLine().text().contains(QStringLiteral("aborted")))
      << w.StatusLine().text().toStdString();
  EXPECT_FALSE(w.SaveOlcButton().isEnabled());
  Fill(w);
  w.Save(false);
  EXPECT_TRUE(ui.fileRequests.empty());
}

TEST_F(OlcWindowTest, MissingFieldKeepsTheDialogWithoutAFile) {
  std::unique_ptr<OlcWindow> w = Open(LoopFlight(), {});
  Fill(*w);
  w->StartPlace().clear();
  w->Save(false);
  ASSERT_EQ(ui.boxes.size(), 1u);
  EXPECT_EQ(ui.boxes[0].text, "Missing start place");
  EXPECT_TRUE(ui.fileRequests.empty());
}

}  // namespace
}  // namespace trelvik
