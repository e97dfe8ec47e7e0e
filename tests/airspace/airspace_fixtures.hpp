#pragma once
// Small helpers shared by the airspace suites: parse a text that must be good.
#include <gtest/gtest.h>

#include <string_view>

#include "airspace/openair_parser.hpp"
#include "support/scripted_user_interface.hpp"

namespace trelvik::testing {

inline CtrList MustParse(std::string_view text) {
  ScriptedUserInterface ui;
  CtrList list;
  const int count = ParseOpenAir(ui, text, list);
  EXPECT_GE(count, 0) << (ui.boxes.empty() ? std::string() : ui.boxes[0].text);
  EXPECT_TRUE(ui.boxes.empty());
  return list;
}

inline CtrArea MustParseOne(std::string_view text) {
  CtrList list = MustParse(text);
  EXPECT_EQ(list.size(), 1u);
  return list.empty() ? CtrArea{} : list.front();
}

}  // namespace trelvik::testing
