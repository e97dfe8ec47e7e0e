#pragma once
// The layer order of src/ as the build enforces it, and the check of one
// source tree against it: which folder may include which, that only the window
// uses Qt, that every library links exactly the layers its sources use, and
// that it lists every source file of its folder.
#include <map>
#include <set>
#include <string>
#include <vector>

namespace trelvik::testing {

// The folders under src/, lowest first. A folder may include and link only
// folders before it; within one row of the architecture's picture the order is
// the one the code needs (trackfiles reads with analysis, the instruments use
// the whole row, automation may use competition).
const std::vector<std::string>& LayerOrder();

struct SourceFile {
  std::string path;  // as reported, e.g. "src/access/link.hpp"
  std::string layer;
  std::string text;
};

struct SourceTree {
  std::vector<SourceFile> files;
  // Each layer's link list as its CMakeLists.txt names it ("trelvik_<layer>").
  std::map<std::string, std::set<std::string>> links;
  // Each layer's CMakeLists.txt, which lists its sources by name.
  std::map<std::string, std::string> cmakeTexts;
};

// Reads every .hpp and .cpp file and each folder's CMakeLists.txt below `srcDir`.
SourceTree ReadSourceTree(const std::string& srcDir);

// One line per broken rule, naming the file and the include or the library at fault.
std::vector<std::string> LayerViolations(const SourceTree& tree);

}  // namespace trelvik::testing
