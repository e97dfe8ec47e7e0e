// The USB packet layer over a scripted transport: framing, the switch from the
// interrupt to the bulk pipe, the session start and the faults a receiver can
// show on USB.
#include <gtest/gtest.h>

#include <deque>

#include "instruments/garmin/usb_packet_link.hpp"

namespace trelvik::garmin {
namespace {

using std::chrono::milliseconds;

const UsbPacketLink::Pause kNoPause = [](milliseconds) {};

// Plays back scripted transfers per pipe; an empty script times out.
class ScriptedUsb : public UsbTransport {
 public:
  UsbResult WriteBulk(const std::vector<uint8_t>& bytes, milliseconds) override {
    written.push_back(bytes);
    return {writeStatus, {}};
  }
  UsbResult ReadBulk(size_t maxBytes, milliseconds) override { return Next(bulk, maxBytes); }
  UsbResult ReadInterrupt(size_t maxBytes, milliseconds) override { return Next(interrupt, maxBytes); }

  std::deque<UsbResult> bulk;
  std::deque<UsbResult> interrupt;
  std::vector<std::vector<uint8_t>> written;
  UsbStatus writeStatus = UsbStatus::kOk;

 private:
  static UsbResult Next(std::deque<UsbResult>& script, size_t maxBytes) {
    if (script.empty()) return {UsbStatus::kTimeout, {}};
    UsbResult result = script.front();
    script.pop_front();
    EXPECT_LE(result.bytes.size(), maxBytes);
    return result;
  }
};

UsbResult Ok(std::vector<uint8_t> bytes) { return {UsbStatus::kOk, std::move(bytes)}; }
std::vector<uint8_t> Protocol(uint16_t id, std::vector<uint8_t> data = {}) {
  return EncodeUsbPacket(kUsbTypeProtocol, id, data);
}
std::vector<uint8_t> App(uint16_t id, std::vector<uint8_t> data = {}) {
  return EncodeUsbPacket(kUsbTypeApplication, id, data);
}

TEST(GarminUsbPackets, HeaderIsLittleEndianAndTheSizeFieldIsClampedToTheBytesReceived) {
  const std::vector<uint8_t> bytes = App(0x01FE, {1, 2, 3});
  ASSERT_EQ(bytes.size(), 15u);
  EXPECT_EQ(bytes[0], 20);
  EXPECT_EQ(bytes[4], 0xFE);
  EXPECT_EQ(bytes[5], 0x01);
  EXPECT_EQ(bytes[8], 3);

  std::vector<uint8_t> lying = App(kPidProductData, {7, 8});
  lying[8] = 200;  // claims 200 bytes, carries 2
  UsbPacket packet;
  ASSERT_TRUE(DecodeUsbPacket(lying, packet));
  EXPECT_EQ(packet.declaredSize, 200u);
  EXPECT_EQ(packet.packet.size, 2);
  EXPECT_EQ(packet.packet.data[1], 8);

  std::vector<uint8_t> huge = App(kPidProductData, std::vector<uint8_t>(300, 5));
  ASSERT_TRUE(DecodeUsbPacket(huge, packet));
  EXPECT_EQ(packet.packet.size, 255);
  EXPECT_FALSE(DecodeUsbPacket(std::vector<uint8_t>(11, 0), packet));
}

TEST(GarminUsbLink, SessionStartsOnTheInterruptPipeAndGivesTheUnitId) {
  ScriptedUsb usb;
  usb.interrupt.push_back(Ok(Protocol(kUsbPidSessionStarted, {0x78, 0x56, 0x34, 0x12})));
  DebugTrace trace;
  UsbPacketLink link(usb, &trace, kNoPause);
  ASSERT_EQ(link.StartSession(), 0);
  EXPECT_EQ(link.UnitId(), 0x12345678u);
  ASSERT_EQ(usb.written.size(), 1u);
  EXPECT_EQ(usb.written[0], StartSessionPacket());
  EXPECT_NE(trace.Contents().find("Session started\r\n"), std::string::npos);
}

TEST(GarminUsbLink, DataAvailableSwitchesToBulkForTheRestOfTheExchange) {
  ScriptedUsb usb;
  usb.interrupt.push_back(Ok(Protocol(kUsbPidDataAvailable)));
  usb.bulk.push_back(Ok(Protocol(kUsbPidSessionStarted, {1, 0, 0, 0})));
  usb.bulk.push_back(Ok(App(kPidProductData, {1, 2, 3, 4, 5})));
  UsbPacketLink link(usb, nullptr, kNoPause);
  ASSERT_EQ(link.StartSession(), 0);
  EXPECT_TRUE(link.BulkMode());
  GarminPacket packet;
  ASSERT_EQ(link.Read(milliseconds(1000), packet), 0);
  EXPECT_EQ(packet.id, kPidProductData);
  EXPECT_EQ(packet.size, 5);
}

TEST(GarminUsbLink, InterruptReadAfterDataAvailableNoticeReadsBulkAtOnce) {
  ScriptedUsb usb;
  usb.interrupt.push_back(Ok(Protocol(kUsbPidDataAvailable)));
  usb.bulk.push_back(Ok(App(kPidProtocolArray, {'P', 0, 0})));
  UsbPacketLink link(usb, nullptr, kNoPause);
  UsbPacket packet;
  ASSERT_EQ(link.ReadUsbPacket(packet), 0);
  EXPECT_EQ(packet.id, kPidProtocolArray);
  EXPECT_TRUE(link.BulkMode());
}

TEST(GarminUsbLink, TransfersOfAWholeBufferAreFollowedByAnotherRead) {
  ScriptedUsb usb;
  std::vector<uint8_t> whole = App(kPidWaypoint, std::vector<uint8_t>(100, 9));
  usb.interrupt.push_back(Ok({whole.begin(), whole.begin() + 64}));
  usb.interrupt.push_back(Ok({whole.begin() + 64, whole.end()}));
  UsbPacketLink link(usb, nullptr, kNoPause);
  UsbPacket packet;
  ASSERT_EQ(link.ReadUsbPacket(packet), 0);
  EXPECT_EQ(packet.packet.size, 100);
}

TEST(GarminUsbLink, AZeroLengthTransferEndsAPacketThatFilledItsLastTransfer) {
  ScriptedUsb usb;
  const std::vector<uint8_t> exact = App(kPidWaypoint, std::vector<uint8_t>(64 - 12, 7));
  usb.interrupt.push_back(Ok(exact));
  usb.interrupt.push_back(Ok({}));
  usb.interrupt.push_back(Ok(App(kPidWaypoint, {1, 2})));
  UsbPacketLink link(usb, nullptr, kNoPause);
  UsbPacket packet;
  ASSERT_EQ(link.ReadUsbPacket(packet), 0);
  EXPECT_EQ(packet.packet.size, 52);
  ASSERT_EQ(link.ReadUsbPacket(packet), 0);  // the next packet stays whole and apart
  EXPECT_EQ(packet.packet.size, 2);
}

struct SessionFault {
  const char* name;
  std::deque<UsbResult> interrupt;
  std::deque<UsbResult> bulk;
  int error;
};

TEST(GarminUsbLink, SessionFaultsGiveTheirNumberedError) {
  const std::vector<SessionFault> cases = {
      {"silence", {}, {}, 2},
      {"wrong session answer length", {Ok(Protocol(kUsbPidSessionStarted, {1, 2}))}, {}, 4},
      {"data available with data", {Ok(Protocol(kUsbPidDataAvailable, {1}))}, {}, 5},
      {"other protocol packet", {Ok(Protocol(9))}, {}, 6},
      {"no device", {{UsbStatus::kNoDevice, {}}}, {}, 2},
      {"bulk failure", {Ok(Protocol(kUsbPidDataAvailable))}, {{UsbStatus::kError, {}}}, 3},
      {"interrupt failure after bulk time-out", {Ok(Protocol(kUsbPidDataAvailable)), {UsbStatus::kError, {}}}, {}, 8},
      {"more than 50 zero-length reads", std::deque<UsbResult>(51, Ok({})), {}, 2},
  };
  for (const SessionFault& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedUsb usb;
    usb.interrupt = c.interrupt;
    usb.bulk = c.bulk;
    UsbPacketLink link(usb, nullptr, kNoPause);
    EXPECT_EQ(link.StartSession(milliseconds(2000)), c.error);
  }
  ScriptedUsb deaf;
  deaf.writeStatus = UsbStatus::kError;
  UsbPacketLink link(deaf, nullptr, kNoPause);
  EXPECT_EQ(link.StartSession(), 1);
}

TEST(GarminUsbLink, ApplicationPacketsDuringTheSessionStartAreIgnoredAndTheLimitHolds) {
  ScriptedUsb usb;
  usb.interrupt.push_back(Ok(App(kPidProductData, {1})));
  usb.interrupt.push_back(Ok(Protocol(kUsbPidSessionStarted, {2, 0, 0, 0})));
  UsbPacketLink link(usb, nullptr, kNoPause);
  EXPECT_EQ(link.StartSession(), 0);
  EXPECT_EQ(link.UnitId(), 2u);
  ScriptedUsb chatty;
  for (int i = 0; i < 1000; ++i) chatty.interrupt.push_back(Ok(App(kPidProductData, {1})));
  UsbPacketLink late(chatty, nullptr, kNoPause);
  EXPECT_EQ(late.StartSession(milliseconds(0)), 7);
}

struct ReadFault {
  const char* name;
  bool bulk;
  std::vector<UsbResult> script;
  int code;
};

TEST(GarminUsbLink, PacketReadFaultsGiveTheirCodes) {
  const std::vector<ReadFault> cases = {
      {"interrupt short packet", false, {Ok({20, 0, 0})}, -1},
      {"interrupt protocol packet", false, {Ok(Protocol(9))}, -2},
      {"interrupt foreign type", false, {Ok(EncodeUsbPacket(7, 1, {}))}, -6},
      {"interrupt device gone", false, {{UsbStatus::kNoDevice, {}}}, -1},
      {"bulk failure", true, {{UsbStatus::kError, {}}}, -7},
      {"bulk foreign type", true, {Ok(Protocol(9))}, -8},
      {"bulk short packet", true, {Ok({20, 0})}, -9},
      {"bulk only zero-length reads", true, std::vector<UsbResult>(51, Ok({})), -7},
  };
  for (const ReadFault& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedUsb usb;
    if (c.bulk) usb.interrupt.push_back(Ok(Protocol(kUsbPidDataAvailable)));
    if (c.bulk) usb.bulk.push_back(Ok(App(kPidProductData, {1})));
    auto& pipe = c.bulk ? usb.bulk : usb.interrupt;
    pipe.insert(pipe.end(), c.script.begin(), c.script.end());
    UsbPacketLink link(usb, nullptr, kNoPause);
    UsbPacket packet;
    if (c.bulk) {
      ASSERT_EQ(link.ReadUsbPacket(packet), 0);
    }
    EXPECT_EQ(link.ReadUsbPacket(packet), c.code);
  }
}

}  // namespace
}  // namespace trelvik::garmin
