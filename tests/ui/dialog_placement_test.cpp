#include "ui/dialog_placement.hpp"

#include <gtest/gtest.h>

namespace trelvik {
namespace {

struct PlacementCase {
  const char* name;
  DialogPlacementInput input;
  DialogPoint expected;
};

// Screen 1024 x 768, dialog 300 wide with a 20-pixel caption unless stated.
const PlacementCase kCases[] = {
    {"inside stays", {100, 200, 300, 20, 1024, 768}, {100, 200}},
    {"right edge limited to width - 5", {1100, 200, 300, 20, 1024, 768}, {1019, 200}},
    {"exactly width - 5 stays", {1019, 200, 300, 20, 1024, 768}, {1019, 200}},
    {"far left keeps 7 pixels visible", {-400, 200, 300, 20, 1024, 768}, {-293, 200}},
    {"6 pixels visible is raised", {-294, 200, 300, 20, 1024, 768}, {-293, 200}},
    {"7 pixels visible stays", {-293, 200, 300, 20, 1024, 768}, {-293, 200}},
    {"bottom limited to height - 7", {100, 900, 300, 20, 1024, 768}, {100, 761}},
    {"above the top keeps the caption reachable", {100, -50, 300, 20, 1024, 768}, {100, -15}},
    {"caption ending at 4 is raised", {100, -16, 300, 20, 1024, 768}, {100, -15}},
    {"caption ending at 5 stays", {100, -15, 300, 20, 1024, 768}, {100, -15}},
};

class PlaceDialogTest : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(PlaceDialogTest, KeepsTheDialogReachable) {
  EXPECT_EQ(PlaceDialog(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlaceDialogTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<PlacementCase>& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace trelvik
