#include "link/serial/port_mapping.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <climits>
#include <fstream>

namespace vexilon {
namespace {

class PortMappingTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        std::filesystem::create_directories(links);
        std::filesystem::create_directories(devices);
        for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyUSB0", "ttyACM1", "ttyACM0", "ttyS0",
                                 "ttyUSB01", "ttyUSBx", "ttyACM"}) {
            std::ofstream(devices / name);
        }
    }

    std::filesystem::path map(int number) const { return portDevicePath(number, links, devices); }

    QTemporaryDir root;
    std::filesystem::path links = std::filesystem::path(root.path().toStdString()) / "ports";
    std::filesystem::path devices = std::filesystem::path(root.path().toStdString()) / "dev";
};

TEST_F(PortMappingTest, UsbDevicesTakeTheNumbersWithoutALinkInNumericOrderAndTheRestMapToNothing) {
    std::filesystem::create_symlink(devices / "ttyS0", links / "COM2");
    std::filesystem::create_symlink(devices / "unplugged", links / "COM4"); // still pins 4
    std::filesystem::create_symlink(devices / "ttyS0", links / "COM07");    // not COM7

    const std::filesystem::path expected[] = {
        devices / "ttyUSB0",  links / "COM2",      devices / "ttyUSB2", links / "COM4",
        devices / "ttyUSB10", devices / "ttyACM0", devices / "ttyACM1", {}};
    for (int number = 1; number <= 8; ++number) {
        EXPECT_EQ(map(number), expected[number - 1]) << number;
    }
    for (int number : {0, -3, INT_MAX}) {
        EXPECT_EQ(map(number), std::filesystem::path()) << number;
    }
    // No link directory yet: the devices alone are numbered.
    EXPECT_EQ(portDevicePath(1, links / "missing", devices / "missing"), std::filesystem::path());
    EXPECT_EQ(portDevicePath(1, links / "missing", devices), devices / "ttyUSB0");
}

TEST_F(PortMappingTest, PinnedDevicesTakeNoFreeNumberOfTheirOwn) {
    // The same device reached through another name (a by-id link) is pinned
    // as well: devices are compared, not paths.
    std::filesystem::create_symlink(devices / "ttyUSB2", root.path().toStdString() + "/by-id");
    std::filesystem::create_symlink(root.path().toStdString() + "/by-id", links / "COM3");
    std::filesystem::create_symlink(devices / "ttyACM0", links / "COM9");

    const std::filesystem::path expected[] = {
        devices / "ttyUSB0", devices / "ttyUSB10", links / "COM3", devices / "ttyACM1", {}};
    for (int number = 1; number <= 5; ++number) {
        EXPECT_EQ(map(number), expected[number - 1]) << number;
    }
}

} // namespace
} // namespace vexilon
