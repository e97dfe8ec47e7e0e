#include <gtest/gtest.h>

#include "access/tcp_job_channel.hpp"
#include "access/user_interface_channel.hpp"
#include "support/scripted_user_interface.hpp"

namespace trelvik {
namespace {

TEST(TcpJobChannelTest, ReportsAreTrelvikMessages) {
  std::vector<std::string> sent;
  int freed = 0;
  TcpJobChannel channel([&](const std::string& message) { sent.push_back(message); }, [&] { ++freed; });
  channel.ShowProgress("Receiving track log");
  channel.ShowProduct("COMPEO: 12345");
  channel.ShowMessage(MessageKind::Error, "E202 COM port write error", "Read GPS track log");
  channel.ShowMessage(MessageKind::Warning, "No G-records found", "Read GPS track log");
  channel.JobFreed();
  EXPECT_EQ(sent, (std::vector<std::string>{"$Trelvik Status Receiving track log", "$Trelvik Product COMPEO: 12345",
                                            "$Trelvik Error Read GPS track log\nE202 COM port write error",
                                            "$Trelvik Status No G-records found"}));
  EXPECT_EQ(freed, 1);
  EXPECT_FALSE(channel.CancelRequested());
  channel.Cancel();
  EXPECT_TRUE(channel.CancelRequested());
}

TEST(UserInterfaceChannelTest, ReportsGoToTheStatusProductAndMessageBoxes) {
  testing::ScriptedUserInterface ui;
  UserInterfaceChannel channel(ui);
  channel.ShowProgress("Connecting to GPS (30)");
  channel.ShowProduct("COMPEO");
  channel.ShowMessage(MessageKind::Error, "E101 Bad answer", "Read GPS track log");
  EXPECT_EQ(ui.statusLines, std::vector<std::string>{"Connecting to GPS (30)"});
  EXPECT_EQ(ui.productLines, std::vector<std::string>{"COMPEO"});
  EXPECT_EQ(ui.boxes, (std::vector<testing::RecordedBox>{
                          {MessageKind::Error, "E101 Bad answer", "Read GPS track log"}}));
}

}  // namespace
}  // namespace trelvik
