#include "layers/layer_rules.hpp"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace trelvik::testing {
namespace {

// Only the window may use Qt.
constexpr const char* kQtLayer = "ui";

int RankOf(const std::string& layer) {
  const std::vector<std::string>& order = LayerOrder();
  const auto at = std::find(order.begin(), order.end(), layer);
  return at == order.end() ? -1 : static_cast<int>(at - order.begin());
}

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The layers a CMakeLists.txt links: every "trelvik_<layer>" it names apart from its own.
std::set<std::string> LinkedLayers(const std::string& cmakeText, const std::string& self) {
  static const std::regex kTarget(R"(\btrelvik_([a-z]+)\b)");
  std::set<std::string> layers;
  for (auto it = std::sregex_iterator(cmakeText.begin(), cmakeText.end(), kTarget); it != std::sregex_iterator();
       ++it) {
    const std::string name = (*it)[1];
    if (name != self && RankOf(name) >= 0) layers.insert(name);
  }
  return layers;
}

struct Include {
  int line;
  std::string target;  // between the quotes or angle brackets
  bool quoted;
};

std::vector<Include> IncludesOf(const std::string& text) {
  static const std::regex kInclude(R"(^\s*#\s*include\s*([<"])([^>"]+)[>"])");
  std::vector<Include> includes;
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    std::smatch match;
    if (std::regex_search(line, match, kInclude)) includes.push_back({number, match[2], match[1] == "\""});
  }
  return includes;
}

// True when `text` names `word` between blanks or parentheses.
bool NamesWord(const std::string& text, const std::string& word) {
  const auto separates = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0 || c == '(' || c == ')'; };
  for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
    const size_t end = at + word.size();
    if ((at == 0 || separates(text[at - 1])) && (end == text.size() || separates(text[end]))) return true;
  }
  return false;
}

bool IsQtHeader(const std::string& target) {
  return target.size() > 1 && target[0] == 'Q' &&
         (std::isupper(static_cast<unsigned char>(target[1])) != 0 || target.starts_with("Qt"));
}

}  // namespace

const std::vector<std::string>& LayerOrder() {
  static const std::vector<std::string> kOrder = {"base",        "records",    "geo",        "settings",  "access",
                                                  "analysis",    "airspace",   "trackfiles", "waypoints", "instruments",
                                                  "competition", "automation", "server",     "ui",        "app"};
  return kOrder;
}

SourceTree ReadSourceTree(const std::string& srcDir) {
  namespace fs = std::filesystem;
  SourceTree tree;
  for (const std::string& layer : LayerOrder()) {
    const fs::path folder = fs::path(srcDir) / layer;
    if (!fs::is_directory(folder)) continue;
    if (fs::exists(folder / "CMakeLists.txt")) {
      tree.cmakeTexts[layer] = ReadText(folder / "CMakeLists.txt");
      tree.links[layer] = LinkedLayers(tree.cmakeTexts[layer], layer);
    }
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
      const std::string extension = entry.path().extension().string();
      if (!entry.is_regular_file() || (extension != ".hpp" && extension != ".cpp")) continue;
      tree.files.push_back({entry.path().generic_string(), layer, ReadText(entry.path())});
    }
  }
  std::sort(tree.files.begin(), tree.files.end(),
            [](const SourceFile& a, const SourceFile& b) { return a.path < b.path; });
  return tree;
}

std::vector<std::string> LayerViolations(const SourceTree& tree) {
  std::vector<std::string> faults;
  std::map<std::string, std::set<std::string>> used;  // layer -> layers its sources include
  for (const SourceFile& file : tree.files) {
    // A source its folder does not list would silently stay out of the build.
    const std::string folder = "src/" + file.layer + "/";
    const auto cmake = tree.cmakeTexts.find(file.layer);
    if (file.path.ends_with(".cpp") && cmake != tree.cmakeTexts.end() && file.path.starts_with(folder) &&
        !NamesWord(cmake->second, file.path.substr(folder.size()))) {
      faults.push_back(folder + "CMakeLists.txt: does not list " + file.path.substr(folder.size()));
    }
    used[file.layer];  // a folder with sources links exactly what they include, maybe nothing
    const int rank = RankOf(file.layer);
    for (const Include& include : IncludesOf(file.text)) {
      const std::string where = file.path + ":" + std::to_string(include.line) + ": ";
      const std::string shown = include.quoted ? "\"" + include.target + "\"" : "<" + include.target + ">";
      if (!include.quoted) {
        if (IsQtHeader(include.target) && file.layer != kQtLayer) {
          faults.push_back(where + "includes " + shown + ": only " + kQtLayer + "/ may use Qt");
        }
        continue;
      }
      const size_t slash = include.target.find('/');
      const std::string target = slash == std::string::npos ? "" : include.target.substr(0, slash);
      const int targetRank = RankOf(target);
      if (targetRank < 0) {
        faults.push_back(where + "includes " + shown + ", which names no folder of src/");
        continue;
      }
      if (target == file.layer) continue;
      used[file.layer].insert(target);
      if (targetRank > rank) {
        faults.push_back(where + "includes " + shown + ": " + file.layer + "/ is below " + target + "/");
      }
    }
  }
  for (const auto& [layer, links] : tree.links) {
    const int rank = RankOf(layer);
    // A folder without sources yet is an interface library: higher layers may
    // name it already, and it may name what its sources will use.
    const auto sources = used.find(layer);
    for (const std::string& linked : links) {
      if (RankOf(linked) > rank) {
        faults.push_back("src/" + layer + "/CMakeLists.txt: links trelvik_" + linked + ", a higher layer");
      } else if (sources != used.end() && !sources->second.contains(linked)) {
        faults.push_back("src/" + layer + "/CMakeLists.txt: links trelvik_" + linked +
                         ", which none of its sources includes");
      }
    }
    if (sources == used.end()) continue;
    for (const std::string& needed : sources->second) {
      if (!links.contains(needed)) {
        faults.push_back("src/" + layer + "/CMakeLists.txt: does not link trelvik_" + needed +
                         ", which its sources include");
      }
    }
  }
  return faults;
}

}  // namespace trelvik::testing
