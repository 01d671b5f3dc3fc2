// COMn numbers and their devices: a fake device folder and a private registry file.
#include "RegistryProfile.h"
#include "SerialPorts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace platform;

namespace {

class SerialPortsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/corvane-ports-XXXXXX";
        dir_ = mkdtemp(tmpl);
        const char* old = std::getenv("XDG_CONFIG_HOME");
        hadOld_ = old != nullptr;
        if (old)
            old_ = old;
        setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
        dev_ = dir_ + "/dev";
        fs::create_directories(dev_);
        scan_.devFolder = dev_;
    }
    void TearDown() override
    {
        if (hadOld_)
            setenv("XDG_CONFIG_HOME", old_.c_str(), 1);
        else
            unsetenv("XDG_CONFIG_HOME");
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void Touch(const std::string& name) { std::ofstream(dev_ + "/" + name) << ""; }

    std::string dir_, old_, dev_;
    bool hadOld_ = false;
    SerialPortScan scan_;
    RegistryProfile registry_;
};

TEST_F(SerialPortsTest, FoundDevicesAreNumberedInAStableOrder)
{
    for (const char* name : {"ttyACM0", "ttyUSB1", "ttyS10", "ttyS2", "ttyUSB0", "ttyS0", "ttyS1",
                             "ttyS", "ttySx", "tty0", "ttyUSB", "console", "ttyS1a"})
        Touch(name);
    const std::vector<std::string> expected = {
        dev_ + "/ttyS0",   dev_ + "/ttyS1",   dev_ + "/ttyS2",  dev_ + "/ttyS10",
        dev_ + "/ttyUSB0", dev_ + "/ttyUSB1", dev_ + "/ttyACM0"};
    EXPECT_EQ(FindSerialDevices(dev_), expected);
    EXPECT_EQ(SerialPortDevice(1, scan_), dev_ + "/ttyS0");
    EXPECT_EQ(SerialPortDevice(4, scan_), dev_ + "/ttyS10");
    EXPECT_EQ(SerialPortDevice(5, scan_), dev_ + "/ttyUSB0");
    EXPECT_EQ(SerialPortDevice(7, scan_), dev_ + "/ttyACM0");
    EXPECT_EQ(SerialPortDevice(8, scan_), "");
    EXPECT_EQ(SerialPortDevice(0, scan_), "");
    EXPECT_EQ(SerialPortDevice(-3, scan_), "");
    EXPECT_TRUE(FindSerialDevices(dir_ + "/missing").empty());

    const auto ports = ListSerialPorts(scan_);
    ASSERT_EQ(ports.size(), 7u);
    for (size_t i = 0; i < ports.size(); ++i) {
        EXPECT_EQ(ports[i].number, static_cast<int>(i) + 1);
        EXPECT_EQ(ports[i].device, expected[i]);
        EXPECT_TRUE(ports[i].exists);
        EXPECT_FALSE(ports[i].mapped);
    }
}

TEST_F(SerialPortsTest, RegistryEntriesWinForTheirNumber)
{
    Touch("ttyS0");
    Touch("ttyUSB0");
    Touch("rig");
    ASSERT_TRUE(registry_.WriteProfileString(kPortsKey, "COM2", dev_ + "/rig"));
    ASSERT_TRUE(registry_.WriteProfileString(kPortsKey, "com12", "/dev/no-such-adapter-h8"));
    // Refused entries: relative paths, names that are no port, empty values.
    ASSERT_TRUE(registry_.WriteProfileString(kPortsKey, "COM3", "ttyUSB0"));
    ASSERT_TRUE(registry_.WriteProfileString(kPortsKey, "COM0", dev_ + "/rig"));
    ASSERT_TRUE(registry_.WriteProfileString(kPortsKey, "COMX", dev_ + "/rig"));
    ASSERT_TRUE(registry_.WriteProfileString(kPortsKey, "COM4", ""));

    EXPECT_EQ(SerialPortDevice(1, scan_), dev_ + "/ttyS0");
    EXPECT_EQ(SerialPortDevice(2, scan_), dev_ + "/rig");
    EXPECT_EQ(SerialPortDevice(12, scan_), "/dev/no-such-adapter-h8");
    EXPECT_EQ(SerialPortDevice(3, scan_), "");
    EXPECT_EQ(SerialPortDevice(4, scan_), "");

    const auto ports = ListSerialPorts(scan_);
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_EQ(ports[0].number, 1);
    EXPECT_EQ(ports[1].number, 2);
    EXPECT_EQ(ports[1].device, dev_ + "/rig");
    EXPECT_TRUE(ports[1].mapped);
    EXPECT_TRUE(ports[1].exists);
    EXPECT_EQ(ports[2].number, 12);
    EXPECT_TRUE(ports[2].mapped);
    EXPECT_FALSE(ports[2].exists) << "a mapped adapter that is unplugged is listed as absent";
}

TEST(SerialPortNames, ParseAndPrint)
{
    EXPECT_EQ(ParsePortName("COM1"), 1);
    EXPECT_EQ(ParsePortName("com12"), 12);
    EXPECT_EQ(ParsePortName("COM255"), 255);
    EXPECT_EQ(ParsePortName("COM256"), 0);
    EXPECT_EQ(ParsePortName("COM0"), 0);
    EXPECT_EQ(ParsePortName("COM01"), 0);
    EXPECT_EQ(ParsePortName("COM"), 0);
    EXPECT_EQ(ParsePortName("COM3 "), 0);
    EXPECT_EQ(ParsePortName("LPT1"), 0);
    EXPECT_EQ(ParsePortName("COM99999999999999999999"), 0);
    EXPECT_EQ(PortName(7), "COM7");
}

}  // namespace
