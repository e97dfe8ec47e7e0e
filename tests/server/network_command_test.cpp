#include <gtest/gtest.h>

#include "automation/server_endpoint.hpp"
#include "instruments/protocol_table.hpp"
#include "server/network_command.hpp"
#include "server/server_session.hpp"
#include "server/socket_error_name.hpp"

#include <cerrno>

namespace trelvik {
namespace {

std::string ErrorOf(std::string_view text) {
  const auto parsed = ParseNetworkCommand(text, ProtocolTable());
  const auto* error = std::get_if<std::string>(&parsed);
  return error ? *error : std::string();
}

NetworkCommand CommandOf(std::string_view text) {
  const auto parsed = ParseNetworkCommand(text, ProtocolTable());
  EXPECT_TRUE(std::holds_alternative<NetworkCommand>(parsed)) << text << ": " << ErrorOf(text);
  return std::holds_alternative<NetworkCommand>(parsed) ? std::get<NetworkCommand>(parsed) : NetworkCommand{};
}

TEST(NetworkCommandTest, EverySyntaxErrorHasItsText) {
  struct Case {
    const char* command;
    const char* error;
  };
  const Case cases[] = {
      {"", "$Trelvik Error Bad command identifier"},
      {"$trelvik /gps=iqcompeo", "$Trelvik Error Bad command identifier"},
      {"$Trelvik/gps=iqcompeo", "$Trelvik Error Bad command identifier"},
      {"$Trelvik gps=iqcompeo", "Missing parameter start '/'"},
      {"$Trelvik /gps=iqcompeo com=1", "Missing parameter start '/'"},
      {"$Trelvik /gps", "Missing parameter assignment character '='"},
      {"$Trelvik /gps= /com=1", "Missing parameter value"},
      {"$Trelvik /gps=", "Missing parameter value"},
      {"$Trelvik /com=\"/dev/ttyUSB0", "Missing '\"'"},
      {"$Trelvik /com=COM1", "Bad COM port value"},
      {"$Trelvik /com=-1", "Bad COM port value"},
      {"$Trelvik /com=1234567890", "Bad COM port value"},
      {"$Trelvik /gps=Garmin", "Unrecognized GPS type"},
      {"$Trelvik /gps=IQCOMPEO", "Unrecognized GPS type"},
      {"$Trelvik /gps=\"\"", "Unrecognized GPS type"},
      {"$Trelvik /abort=yes", "Bad abort value"},
      {"$Trelvik /track=-2", "Bad track select"},
      {"$Trelvik /track=1,2", "Bad track select"},
      {"$Trelvik /Gps=iqcompeo", "Unrecognized parameter"},
      {"$Trelvik /speed=9600 /gps=Garmin", "Unrecognized parameter"},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.command), c.error) << c.command;
}

TEST(NetworkCommandTest, ValuesAreTakenAsWritten) {
  const NetworkCommand download = CommandOf("$Trelvik /gps=iqcompeo /com=3");
  ASSERT_NE(download.gps, nullptr);
  EXPECT_EQ(download.gps->serverName, "iqcompeo");
  EXPECT_EQ(download.portName, "/dev/ttyS2");
  EXPECT_EQ(CommandOf("$Trelvik /com=0").portName, "");
  EXPECT_EQ(CommandOf("$Trelvik   /com=\"/dev/serial/by-id/usb-FTDI Cable-if00\"  ").portName,
            "/dev/serial/by-id/usb-FTDI Cable-if00");
  EXPECT_EQ(CommandOf("$Trelvik /com=/dev/pts/7").portName, "/dev/pts/7");
  const NetworkCommand choice = CommandOf("$Trelvik /track=2 /abort=0");
  EXPECT_EQ(choice.track, 2u);
  EXPECT_EQ(choice.abort, 0u);
  EXPECT_EQ(choice.gps, nullptr);
  EXPECT_FALSE(CommandOf("$Trelvik ").portName.has_value());
}

TEST(NetworkCommandTest, EveryServerNameOfTheTableIsAGpsType) {
  for (const ProtocolRow& row : ProtocolTable()) {
    if (row.serverName.empty()) continue;
    const NetworkCommand command = CommandOf("$Trelvik /gps=" + std::string(row.serverName));
    EXPECT_EQ(command.gps, &row) << row.serverName;
  }
}

TEST(ServerTextsTest, SocketErrorsCarryTheirWindowsNames) {
  EXPECT_EQ(SocketErrorName(EADDRINUSE), "WSAEADDRINUSE");
  EXPECT_EQ(SocketErrorName(EACCES), "WSAEACCES");
  EXPECT_EQ(SocketErrorName(ECONNRESET), "WSAECONNRESET");
  EXPECT_EQ(SocketErrorName(EAGAIN), "WSAEWOULDBLOCK");
  EXPECT_EQ(SocketErrorName(EADDRNOTAVAIL), "WSAEADDRNOTAVAIL");
  EXPECT_EQ(SocketErrorName(ENOENT), "UNKNOWN");
}

TEST(ServerTextsTest, PortInputsAndEndpoints) {
  EXPECT_EQ(std::get<std::string>(ParsePortInput("")), "Missing port input");
  EXPECT_EQ(std::get<std::string>(ParsePortInput("61a")), "Bad port input");
  EXPECT_EQ(std::get<std::string>(ParsePortInput("-1")), "Bad port input");
  EXPECT_EQ(std::get<std::string>(ParsePortInput("65536")), "Port out of range");
  EXPECT_EQ(std::get<std::string>(ParsePortInput("99999999999999999999")), "Port out of range");
  EXPECT_EQ(std::get<int>(ParsePortInput("0")), 0);
  EXPECT_EQ(std::get<int>(ParsePortInput("61234")), 61234);
  EXPECT_EQ(std::get<ServerEndpoint>(ParseServerEndpoint("61234")), (ServerEndpoint{"127.0.0.1", 61234}));
  EXPECT_EQ(std::get<ServerEndpoint>(ParseServerEndpoint("0.0.0.0:5000")), (ServerEndpoint{"0.0.0.0", 5000}));
  EXPECT_EQ(std::get<std::string>(ParseServerEndpoint("localhost:5000")), "Bad server address");
  EXPECT_EQ(std::get<std::string>(ParseServerEndpoint("1.2.3.4:")), "Missing port input");
}

TEST(ServerTextsTest, TrackListMessageListsEveryEntryUpToTheLast) {
  const std::vector<FlightListEntry> flights = {{1089972000, 1198}, {0, 0}, {4294967295u, 59}};
  EXPECT_EQ(TrackListMessage(flights), "$Trelvik TrackList 1089972000,1198\n0,0\n4294967295,59");
}

}  // namespace
}  // namespace trelvik
