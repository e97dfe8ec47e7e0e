#include "access/serial_port_list.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/temp_dir.hpp"

namespace trelvik {
namespace {

namespace fs = std::filesystem;

// A fake /dev and /sys with the kinds of entries a real machine has.
class FakeDeviceTree {
 public:
  FakeDeviceTree() {
    roots.dev = dir.File("dev");
    roots.sys = dir.File("sys");
    fs::create_directories(roots.dev + "/pts");
    fs::create_directories(roots.sys + "/class/tty");
  }
  void Device(const std::string& name, int uartType = -1) {
    Touch(roots.dev + "/" + name);
    const std::string classDir = roots.sys + "/class/tty/" + name;
    fs::create_directories(classDir);
    if (uartType >= 0) std::ofstream(classDir + "/type") << uartType << "\n";
  }
  void ById(const std::string& link, const std::string& target) {
    fs::create_directories(roots.dev + "/serial/by-id");
    fs::create_symlink(target, roots.dev + "/serial/by-id/" + link);
  }
  static void Touch(const std::string& path) { std::ofstream(path) << ""; }

  testing::TempDir dir;
  DeviceRoots roots;
};

TEST(ListSerialPortsTest, ByIdLinksFirstThenDevicesInNumberOrder) {
  FakeDeviceTree tree;
  tree.Device("ttyS0", 4);    // a 16550A
  tree.Device("ttyS1", 0);    // no UART behind it
  tree.Device("ttyS10", 4);
  tree.Device("ttyUSB10");
  tree.Device("ttyUSB2");
  tree.Device("ttyACM0");
  tree.Device("tty1");        // a console
  tree.Device("ptmx");
  fs::create_directories(tree.roots.sys + "/class/tty/ttyUSB7");  // unplugged: no device node
  FakeDeviceTree::Touch(tree.roots.dev + "/pts/3");
  tree.ById("usb-FTDI_FT232R-if00-port0", "../../ttyUSB2");
  tree.ById("usb-Gone-if00", "../../ttyUSB5");  // stale link
  tree.ById("usb-Odd-pty", "../../pts/3");

  std::vector<SerialPortEntry> ports;
  ASSERT_EQ(ListSerialPorts(ports, tree.roots), 6);
  const std::string dev = tree.roots.dev;
  EXPECT_EQ(ports[0].path, dev + "/serial/by-id/usb-FTDI_FT232R-if00-port0");
  EXPECT_EQ(ports[0].tty, dev + "/ttyUSB2");
  std::vector<std::string> rest;
  for (size_t i = 1; i < ports.size(); ++i) {
    rest.push_back(ports[i].path.substr(dev.size() + 1));
    EXPECT_EQ(ports[i].tty, "");
  }
  EXPECT_EQ(rest, (std::vector<std::string>{"ttyUSB2", "ttyUSB10", "ttyACM0", "ttyS0", "ttyS10"}));
}

TEST(ListSerialPortsTest, MachineWithoutUsbAdaptersListsItsUarts) {
  FakeDeviceTree tree;
  tree.Device("ttyS0", 4);
  std::vector<SerialPortEntry> ports;
  ASSERT_EQ(ListSerialPorts(ports, tree.roots), 1);
  EXPECT_EQ(ports[0].path, tree.roots.dev + "/ttyS0");
}

TEST(ListSerialPortsTest, UnreadableTreesGiveMinusOne) {
  testing::TempDir dir;
  std::vector<SerialPortEntry> ports{{"stale", ""}};
  EXPECT_EQ(ListSerialPorts(ports, {dir.File("nodev"), dir.File("nosys")}), -1);
  EXPECT_TRUE(ports.empty());
}

}  // namespace
}  // namespace trelvik
