// The layer order holds in src/: every include and every link points down, only
// the window uses Qt, each library links exactly the layers it includes and
// lists every source of its folder.
#include "layers/layer_rules.hpp"

#include <gtest/gtest.h>

namespace trelvik::testing {
namespace {

SourceTree OneFile(const std::string& layer, const std::string& text, std::set<std::string> links) {
  SourceTree tree;
  tree.files.push_back({"src/" + layer + "/x.cpp", layer, text});
  tree.links[layer] = std::move(links);
  return tree;
}

TEST(LayerRules, EachBrokenRuleIsNamedWithItsFileAndInclude) {
  const struct {
    const char* name;
    SourceTree tree;
    std::vector<std::string> faults;
  } cases[] = {
      {"downward include, linked", OneFile("access", "#include \"records/waypoint.hpp\"\n", {"records"}), {}},
      {"own folder and system headers", OneFile("geo", "#include \"geo/a.hpp\"\n#include <vector>\n", {}), {}},
      {"upward include",
       OneFile("records", "// x\n#include \"ui/main_window.hpp\"\n", {}),
       {"src/records/x.cpp:2: includes \"ui/main_window.hpp\": records/ is below ui/",
        "src/records/CMakeLists.txt: does not link trelvik_ui, which its sources include"}},
      {"sideways to a later folder of the same row",
       OneFile("analysis", "#include \"trackfiles/igc_reader.hpp\"\n", {"trackfiles"}),
       {"src/analysis/x.cpp:1: includes \"trackfiles/igc_reader.hpp\": analysis/ is below trackfiles/",
        "src/analysis/CMakeLists.txt: links trelvik_trackfiles, a higher layer"}},
      {"Qt outside the window",
       OneFile("automation", "  #  include <QString>\n", {}),
       {"src/automation/x.cpp:1: includes <QString>: only ui/ may use Qt"}},
      {"Qt in the window", OneFile("ui", "#include <QtWidgets/QDialog>\n#include <QDialog>\n", {}), {}},
      {"include without its folder",
       OneFile("access", "#include \"link.hpp\"\n", {}),
       {"src/access/x.cpp:1: includes \"link.hpp\", which names no folder of src/"}},
      {"link that no source needs",
       OneFile("settings", "#include \"base/crc32.hpp\"\n", {"base", "records"}),
       {"src/settings/CMakeLists.txt: links trelvik_records, which none of its sources includes"}},
  };
  for (const auto& c : cases) EXPECT_EQ(LayerViolations(c.tree), c.faults) << c.name;
}

TEST(LayerRules, EverySourceIsListedByItsFolder) {
  SourceTree tree = OneFile("geo", "", {});
  tree.files.push_back({"src/geo/sub/y.cpp", "geo", ""});
  tree.files.push_back({"src/geo/y.hpp", "geo", ""});
  tree.cmakeTexts["geo"] = "trelvik_core_library(geo\n  SOURCES\n    sub/y.cpp)\n";
  EXPECT_EQ(LayerViolations(tree), std::vector<std::string>{"src/geo/CMakeLists.txt: does not list x.cpp"});
  tree.cmakeTexts["geo"] = "trelvik_core_library(geo SOURCES x.cpp sub/y.cpp)";
  EXPECT_TRUE(LayerViolations(tree).empty());
}

TEST(LayerRules, AFolderWithoutSourcesMayNameLowerLayersAlready) {
  SourceTree tree;
  tree.links["competition"] = {"base", "access"};
  EXPECT_TRUE(LayerViolations(tree).empty());
  tree.links["competition"].insert("server");
  EXPECT_EQ(LayerViolations(tree),
            std::vector<std::string>{"src/competition/CMakeLists.txt: links trelvik_server, a higher layer"});
}

TEST(LayerRules, TheSourceTreeKeepsTheLayerOrder) {
  const SourceTree tree = ReadSourceTree("src");
  ASSERT_GT(tree.files.size(), 100u) << "run from the source root";
  for (const std::string& fault : LayerViolations(tree)) ADD_FAILURE() << fault;
}

}  // namespace
}  // namespace trelvik::testing
