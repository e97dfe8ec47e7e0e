#include "records/waypoint_upload.hpp"

#include <gtest/gtest.h>

#include <cstring>

namespace trelvik {
namespace {

struct NameRuleCase {
  int parameter;
  bool offersRules;  // the protocol's send commands offer the naming rules
  const char* name;
  const char* description;
  const char* sent;
};

TEST(WaypointUpload, TheSendCommandsNameRules) {
  const NameRuleCase cases[] = {
      {0, true, "ZUG", "Zugerberg", "Zugerberg"},
      {1, true, "ZUG", "Zugerberg", "Zugerberg"},
      {1, true, "ZUG", "", "ZUG"},
      {2, true, "ZUG", "Zugerberg", "ZUG Zugerberg"},
      {2, true, "ABCDEF", "1234567890123456789012345678901234567890",
       "ABCDEF 123456789012345678901234567890123"},
      {3, true, "ZUG", "Zugerberg", "ZUG"},
      {3, false, "ZUG", "Zugerberg", "Zugerberg"},  // no rules there
  };
  for (const NameRuleCase& c : cases) {
    Waypoint waypoint;
    std::strcpy(waypoint.name, c.name);
    std::strcpy(waypoint.description, c.description);
    ApplyUploadNameRule(waypoint, UploadNameRuleFor(c.offersRules, c.parameter));
    EXPECT_STREQ(waypoint.description, c.sent) << c.parameter << " " << c.description;
  }
}

}  // namespace
}  // namespace trelvik
