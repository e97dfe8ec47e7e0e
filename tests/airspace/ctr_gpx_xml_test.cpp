// The GPX export read back by a real XML parser (expat), whatever the names hold.
#include <expat.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "airspace/ctr_gpx.hpp"
#include "airspace_fixtures.hpp"
#include "support/scripted_user_interface.hpp"

namespace trelvik {
namespace {

using testing::MustParse;
using testing::ScriptedUserInterface;

struct GpxContent {
  int tracks = 0;
  int points = 0;
  std::vector<std::string> names;
  std::string text;
  bool inName = false;
};

void XMLCALL Start(void* data, const XML_Char* element, const XML_Char**) {
  auto* content = static_cast<GpxContent*>(data);
  const std::string name = element;
  if (name == "http://www.topografix.com/GPX/1/1|trk") ++content->tracks;
  if (name == "http://www.topografix.com/GPX/1/1|trkpt") ++content->points;
  if (name == "http://www.topografix.com/GPX/1/1|name") {
    content->inName = true;
    content->text.clear();
  }
}

void XMLCALL End(void* data, const XML_Char* element) {
  auto* content = static_cast<GpxContent*>(data);
  if (std::string(element) == "http://www.topografix.com/GPX/1/1|name") {
    content->names.push_back(content->text);
    content->inName = false;
  }
}

void XMLCALL Characters(void* data, const XML_Char* s, int length) {
  auto* content = static_cast<GpxContent*>(data);
  if (content->inName) content->text.append(s, static_cast<size_t>(length));
}

// Parses with namespaces; an empty error text means well-formed.
std::string ParseXml(const std::string& text, GpxContent& content) {
  XML_Parser parser = XML_ParserCreateNS(nullptr, '|');
  XML_SetUserData(parser, &content);
  XML_SetElementHandler(parser, Start, End);
  XML_SetCharacterDataHandler(parser, Characters);
  std::string error;
  if (XML_Parse(parser, text.data(), static_cast<int>(text.size()), XML_TRUE) != XML_STATUS_OK) {
    error = std::string(XML_ErrorString(XML_GetErrorCode(parser))) + " at line " +
            std::to_string(XML_GetCurrentLineNumber(parser));
  }
  XML_ParserFree(parser);
  return error;
}

TEST(CtrGpxXml, WellFormedWithAwkwardNames) {
  CtrList list = MustParse(
      "AN Z\xC3\xBCrich CTR\nAL 1000 m\nAH FL 95\nV X=47:27:00 N 008:33:00 E\nDC 5km\n"
      "AN Gen\xE8ve <TMA> & co\nAL GND\nAH 3000 ft\nDP 46N 6E\nDP 46.1N 6E\nDP 46.1N 6.1E\n"
      "AN ctl\x01\x1F name \"quoted\" 'single' ]]>\nDP 45N 6E\nDP 45.1N 6E\n"
      "AN \xEF\xBF\xBF nonchar\nDP 44N 6E\nDP 44.1N 6E\n");
  ASSERT_EQ(list.size(), 4u);
  for (CtrArea& area : list) area.selected = true;
  ScriptedUserInterface ui;
  std::string text;
  ASSERT_EQ(FormatCtrGpx(ui, list, 10, CtrExportStamp{472, SystemTime{2024, 1, 0, 2, 3, 4, 5, 0}}, text), 0);
  GpxContent content;
  EXPECT_EQ(ParseXml(text, content), "");
  EXPECT_EQ(content.tracks, 4);
  EXPECT_EQ(content.points, 51 + 4 + 3 + 3);
  EXPECT_EQ(content.names, (std::vector<std::string>{"Z\xC3\xBCrich CTR", "Gen\xC3\xA8ve <TMA> & co",
                                                     "ctl name \"quoted\" 'single' ]]>", " nonchar"}));
}

}  // namespace
}  // namespace trelvik
