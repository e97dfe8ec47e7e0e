// "Read all tracks" over a scripted link: the chosen tracks become trip
// folders of one logbook file, the user's answers decide whether and where it
// is written, and bad tracks end the job before anything is written.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "access/track_list.hpp"
#include "base/atomic_file.hpp"
#include "instruments/flytec/jobs.hpp"
#include "instruments/flytec_fixtures.hpp"
#include "support/scripted_user_interface.hpp"
#include "support/temp_dir.hpp"
#include "support/text_count.hpp"
#include "trackfiles/kml_trip.hpp"

namespace trelvik::flytec {
namespace {

using testing::kSnp;
using testing::kTl;
using testing::Product;
using testing::Sentence;
using testing::CountOccurrences;
using testing::SmallIgc;

class ChooseAll : public TrackListChooser {
 public:
  explicit ChooseAll(bool cancel = false) : cancel_(cancel) {}
  std::optional<std::vector<int>> ChooseTracks(const TrackListQuestion& question) override {
    if (cancel_) return std::nullopt;
    std::vector<int> all(question.lines.size());
    for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<int>(i);
    return all;
  }

 private:
  bool cancel_;
};

std::string ThreeTracks() {
  return Sentence("PBRTL,03,00,15.07.24,12:00:00,00:02:00") + Sentence("PBRTL,03,01,14.07.24,12:00:00,00:00:40") +
         Sentence("PBRTL,03,02,13.07.24,12:00:00,00:02:00");
}

// A 13-point track without its G record.
std::string UnsignedIgc() {
  std::string igc = SmallIgc(13, "HFDTE130724");
  return igc.substr(0, igc.rfind('G'));
}

struct AllTracksJob : testing::ScriptedJob {
  AllTracksJob() {
    job.protocol = ProtocolType::FlytecAllTracks;
    job.commandLine = nullptr;
    job.trackListChooser = &chooser;
    channel.user = &user;
    job.description = "COMPEO+ 4711 1.0";
  }
  // Product, the three-track list and every track: a signed flight, one too
  // short to analyse, and an unsigned flight.
  void InstrumentWithThreeTracks() {
    script->Expect(kSnp).Answer(Product("COMPEO+", "1.0")).Expect(kTl).Answer(ThreeTracks());
    script->Expect(PBRTR(0)).Answer(SmallIgc(105)).Expect(PBRTR(1)).Answer(SmallIgc(4, "HFDTE140724"));
    script->Expect(PBRTR(2)).Answer(UnsignedIgc());
  }
  ChooseAll chooser;
  testing::ScriptedUserInterface user;
  testing::TempDir dir;
};

TEST(FlytecAllTracks, ChosenFlightsBecomeTheFoldersOfOneLogbook) {
  AllTracksJob s;
  s.job.points.push_back({});  // whatever the job holds is not the loaded log
  s.InstrumentWithThreeTracks();
  s.user.QueueFile(s.dir.File("season"));
  EXPECT_EQ(DownloadAllTracks(s.job), -1);  // the loaded track log stays

  ASSERT_EQ(s.user.fileRequests.size(), 1u);
  EXPECT_EQ(s.user.fileRequests[0].kind, FileDialogKind::Save);
  EXPECT_EQ(s.user.fileRequests[0].title, "Save track for FlightLog");
  EXPECT_EQ(s.user.fileRequests[0].typeName, "FlightLog files");
  std::string kml;
  ASSERT_TRUE(ReadWholeFile(s.dir.File("season.kml"), kml));
  EXPECT_TRUE(kml.starts_with(kKmlFileHead));
  EXPECT_TRUE(kml.ends_with(kKmlFileTail));
  EXPECT_EQ(CountOccurrences(kml, "<name>Trip</name>"), 2u);  // the 4-point track is no flight
  EXPECT_EQ(CountOccurrences(kml, "hash=\""), 1u);            // only the track with a G record is signed
  EXPECT_EQ(CountOccurrences(kml, "instrument=\"COMPEO+ 4711 1.0\""), 2u);
  EXPECT_LT(kml.find("2024-07-15"), kml.find("2024-07-13"));  // in the order of the list

  const std::vector<std::string> progress = s.channel.Progress();
  for (const char* text : {"3 tracks in track list found", "Reading track log 1", "Reading track log 1   (100)",
                           "Analysing track log 1", "Reading track log 2", "Reading track log 3",
                           "Analysing track log 3", "Downloading completed"}) {
    EXPECT_NE(std::find(progress.begin(), progress.end(), text), progress.end()) << text;
  }
  EXPECT_EQ(std::find(progress.begin(), progress.end(), "Analysing track log 2"), progress.end());
  EXPECT_EQ(s.channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Information, "File written",
                                                                 "Save FlightLog track"}}));
  EXPECT_EQ(s.channel.Products().back(), s.dir.File("season.kml"));
}

TEST(FlytecAllTracks, TheUserDecidesWhetherAndWhereTheLogbookIsWritten) {
  struct Case {
    const char* name;
    bool cancelList;
    bool pickFile;
    bool existing;
    Answer overwrite;
    bool written;
    const char* folder = "";  // below the test folder
  };
  const Case cases[] = {
      {"track list cancelled", true, true, false, Answer::Ok, false},
      {"save dialog cancelled", false, false, false, Answer::Ok, false},
      {"existing file kept", false, true, true, Answer::Cancel, false},
      {"existing file replaced", false, true, true, Answer::Ok, true},
      {"folder gone", false, true, false, Answer::Ok, false, "gone/"},
  };
  for (const Case& c : cases) {
    AllTracksJob s;
    s.chooser = ChooseAll(c.cancelList);
    const std::string path = s.dir.File(std::string(c.folder) + "logbook.kml");
    if (c.existing) {
      ASSERT_FALSE(WriteFileAtomically(path, "old"));
    }
    if (c.cancelList) {
      s.script->Expect(kSnp).Answer(Product("COMPEO+", "1.0")).Expect(kTl).Answer(ThreeTracks());
    } else {
      s.InstrumentWithThreeTracks();
    }
    if (c.pickFile) s.user.QueueFile(path);
    s.user.QueueAnswer(c.overwrite);
    EXPECT_EQ(DownloadAllTracks(s.job), -1) << c.name;
    std::string text;
    const bool exists = ReadWholeFile(path, text);
    EXPECT_EQ(exists && text != "old", c.written) << c.name;
    if (*c.folder != '\0') {
      EXPECT_EQ(s.user.boxes, (std::vector<testing::RecordedBox>{
                                  {MessageKind::Error, std::strerror(ENOENT), "File write error"}}));
    }
    if (c.existing) {
      ASSERT_EQ(s.user.questions.size(), 1u) << c.name;
      EXPECT_EQ(s.user.questions[0].text, "File already exists. Overwrite ?");
      EXPECT_EQ(s.user.questions[0].caption, "Save track for FlightLog");
    }
  }
}

TEST(FlytecAllTracks, AFaultInAnyTrackEndsTheJobBeforeTheSaveDialog) {
  std::string noDate = SmallIgc(12);
  noDate.erase(noDate.find("HFDTE"), 13);
  const std::pair<std::string, std::string> cases[] = {
      {"x" + SmallIgc(12), "E205 Bad record type (78)"},
      {noDate, "E206 Format error 25"},
      {"B" + std::string(90, '1') + "\r\n", "E207 Too long sentence"},
  };
  for (const auto& [secondTrack, text] : cases) {
    AllTracksJob s;
    s.script->Expect(kSnp).Answer(Product("COMPEO+", "1.0")).Expect(kTl).Answer(ThreeTracks());
    s.script->Expect(PBRTR(0)).Answer(SmallIgc(12)).Expect(PBRTR(1)).Answer(secondTrack);
    s.user.QueueFile(s.dir.File("never.kml"));
    EXPECT_EQ(DownloadAllTracks(s.job), -1);
    EXPECT_EQ(s.channel.Messages(), (std::vector<RecordedMessage>{{MessageKind::Error, text, "Read GPS track logs"}}));
    EXPECT_TRUE(s.user.fileRequests.empty()) << text;
  }
}

}  // namespace
}  // namespace trelvik::flytec
