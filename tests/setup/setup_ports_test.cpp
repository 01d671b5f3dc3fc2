// The port and driver dialog over a fake device folder and registry: the numbering and names of
// the ports, a device given by path, the fixed list, the enable rules, the driver list, and how
// its OK edits the configuration dialog's values.
#include "ComSetDlg.h"
#include "CorvaneSetupDlg.h"
#include "PrivateProfile.h"
#include "SetupTestSupport.h"

#include <QAbstractButton>
#include <QComboBox>

#include <gtest/gtest.h>

namespace {

using namespace setuptest;
using testing_support::PutFile;

constexpr int kStillOpen = -5;
const char* kSimEntry = "SimRadio.so - Simulated CI-V radio - Ver. 1.2.5";

struct PortDialog {
    SetupFixture& f;
    setup::SetupValues values;
    std::vector<std::string> installed;
    bool changed = false;
    CComSet dlg{f.context, values,
                [this](const std::string& e) {
                    installed.push_back(e);
                    return true;
                },
                changed};

    explicit PortDialog(SetupFixture& fixture, setup::SetupValues start = {})
        : f(fixture), values(std::move(start))
    {
    }
    int Run(const std::function<void()>& step)
    {
        WhenModal([this, step] {
            step();
            if (dlg.isVisible())
                dlg.EndDialog(kStillOpen);
        });
        return dlg.DoModal();
    }
    QComboBox* List() { return dlg.GetDlgItemAs<QComboBox>(CComSet::kPortList); }
    std::vector<std::string> Texts()
    {
        std::vector<std::string> texts;
        for (int i = 0; i < List()->count(); ++i)
            texts.push_back(List()->itemText(i).toStdString());
        return texts;
    }
    bool Enabled(int id) { return dlg.GetDlgItem(id)->isEnabled(); }
    void Click(int id) { dlg.GetDlgItemAs<QAbstractButton>(id)->click(); }
};

void Touch(const std::string& path)
{
    PutFile(path, "");
}

}  // namespace

TEST(PortDialog, PortsAreNumberedAndNamedSoTwoAdaptersCanBeToldApart)
{
    SetupFixture f;
    for (const char* name : {"ttyUSB1", "ttyS0", "ttyUSB0", "ttyACM0", "ttyX9"})
        Touch(f.devFolder + "/" + name);
    fs::create_directories(f.devFolder + "/serial/by-id");
    fs::create_symlink("../../ttyUSB0", f.devFolder + "/serial/by-id/usb-FTDI_A1-if00-port0");
    fs::create_symlink("../../ttyUSB1", f.devFolder + "/serial/by-id/usb-FTDI_B2-if00-port0");
    f.registry.WriteProfileString("Ports", "COM9", "/dev/corvane-gone");
    f.AddSimDriver();
    Touch(f.folder / "Drivers/Plain.so");
    PutFile(f.folder / "Drivers/notes.txt", "not a driver");

    PortDialog p(f);
    p.Run([&] {
        const std::string d = f.devFolder;
        EXPECT_EQ(p.Texts(), (std::vector<std::string>{
                                 "COM1 - " + d + "/ttyS0 ",
                                 "COM2 - " + d + "/ttyUSB0 (usb-FTDI_A1-if00-port0) ",
                                 "COM3 - " + d + "/ttyUSB1 (usb-FTDI_B2-if00-port0) ",
                                 "COM4 - " + d + "/ttyACM0 ",
                                 "COM9 - /dev/corvane-gone (absent) ",
                                 "Plain.so - Ver. .0",
                                 kSimEntry,
                             }));
        EXPECT_EQ(p.dlg.Keys()[1], "COM2");
        EXPECT_EQ(p.List()->currentIndex(), 0) << "the pending COM1 is selected";
        // A port: its parameters, no driver setup.
        for (int id : {CComSet::kSpeed, CComSet::kDataBits, CComSet::kStopBits, CComSet::kParity,
                       CComSet::kRts, CComSet::kDtr, CComSet::kMode})
            EXPECT_TRUE(p.Enabled(id)) << id;
        EXPECT_FALSE(p.Enabled(CComSet::kDriverSetup));
        // A driver: the other way round.
        Choose(p.List(), 6);
        for (int id : {CComSet::kSpeed, CComSet::kDataBits, CComSet::kRts, CComSet::kMode})
            EXPECT_FALSE(p.Enabled(id)) << id;
        EXPECT_TRUE(p.Enabled(CComSet::kDriverSetup));
        // Nothing chosen: OK keeps the previous choice.
        p.List()->setCurrentIndex(-1);
        p.Click(ctl::kIdOk);
    });
    EXPECT_EQ(p.values.portText, "COM1");
    EXPECT_FALSE(p.values.driverMode);
    EXPECT_TRUE(p.installed.empty());

    // Choosing the driver installs it at once and puts the values in driver mode.
    PortDialog q(f);
    q.Run([&] {
        Choose(q.List(), 6);
        q.Click(ctl::kIdOk);
    });
    EXPECT_TRUE(q.values.driverMode);
    EXPECT_EQ(q.values.driverEntry, kSimEntry);
    EXPECT_EQ(q.values.portText, "COM0");
    EXPECT_EQ(q.installed, std::vector<std::string>{kSimEntry});
}

TEST(PortDialog, NothingFoundOffersTheFixedListAndPttOnTheChosenPortLocksItsLine)
{
    SetupFixture f;
    setup::SetupValues start;
    start.portText = "COM3";
    start.ptt.port = 3;
    start.ptt.pin = txrx::kPinDtr;
    start.speedText = "9600";
    PortDialog p(f, start);
    p.Run([&] {
        ASSERT_EQ(p.List()->count(), 40);
        EXPECT_EQ(p.Texts().front(), "COM1");
        EXPECT_EQ(p.Texts().back(), "COM40");
        EXPECT_EQ(p.List()->currentText().toStdString(), "COM3");
        EXPECT_FALSE(p.Enabled(CComSet::kDtr));
        EXPECT_TRUE(p.Enabled(CComSet::kRts));
        // COM12 is a port too (its fourth character is 1).
        Choose(p.List(), 11);
        EXPECT_TRUE(p.Enabled(CComSet::kDtr));
        EXPECT_TRUE(p.Enabled(CComSet::kSpeed));
        p.dlg.GetDlgItemAs<QComboBox>(CComSet::kParity)->setCurrentText("E");
        p.Click(ctl::kIdOk);
    });
    EXPECT_EQ(p.values.portText, "COM12");
    EXPECT_EQ(p.values.speedText, "9600");
    EXPECT_EQ(p.values.parity, "E");
}

TEST(PortDialog, ADeviceByPathTakesAFreeNumberAndItsMappingIsStoredAtTheConfigurationOk)
{
    SetupFixture f;
    Touch(f.devFolder + "/ttyS0");
    Touch(f.devFolder + "/ttyS1");
    f.registry.WriteProfileString("Ports", "COM3", "/dev/corvane-gone");
    PutFile(f.iniPath, "[Setup]\nPorta=1\nRTX=3\nIndirizzo=94\n");
    const std::string before = f.Registry();

    CCorvaneSetup setupDlg(f.context);
    WhenModal([&] {
        WhenModal([&] {
            auto* ports = qobject_cast<CComSet*>(QApplication::activeModalWidget());
            ASSERT_NE(ports, nullptr);
            // Not a character device: a message, and nothing changes.
            ports->SetDlgItemText(CComSet::kDevicePath, f.iniPath);
            ports->GetDlgItemAs<QAbstractButton>(CComSet::kUseDevice)->click();
            EXPECT_EQ(f.boxes.size(), 1u);
            EXPECT_EQ(ports->GetDlgItemAs<QComboBox>(CComSet::kPortList)->count(), 3);
            // A real one takes the first number no device or mapping uses.
            ports->SetDlgItemText(CComSet::kDevicePath, "/dev/null");
            ports->GetDlgItemAs<QAbstractButton>(CComSet::kUseDevice)->click();
            auto* list = ports->GetDlgItemAs<QComboBox>(CComSet::kPortList);
            EXPECT_EQ(list->currentText().toStdString(), "COM4 - /dev/null ");
            // Given again, it keeps its number.
            ports->GetDlgItemAs<QAbstractButton>(CComSet::kUseDevice)->click();
            EXPECT_EQ(list->count(), 4);
            ports->GetDlgItemAs<QAbstractButton>(ctl::kIdOk)->click();
        });
        setupDlg.GetDlgItemAs<QAbstractButton>(CCorvaneSetup::kPortSummary)->click();
        EXPECT_EQ(setupDlg.GetDlgItemText(CCorvaneSetup::kPortSummary),
                  "COM4:19200,8,1,N,RTS ON,DTR ON");
        EXPECT_EQ(f.Registry(), before) << "the mapping waits for OK";
        setupDlg.GetDlgItemAs<QAbstractButton>(ctl::kIdOk)->click();
    });
    EXPECT_EQ(setupDlg.DoModal(), ctl::kIdOk);
    ASSERT_EQ(f.boxes.size(), 1u);
    EXPECT_NE(f.boxes[0].text.find("is not a serial device"), std::string::npos);
    EXPECT_EQ(platform::ReadProfileValue(f.iniPath, "Setup", "Porta"), "4");
    EXPECT_EQ(
        platform::ReadProfileValue(f.registryPath, "Software\\Dravik\\Corvane\\Ports", "COM4"),
        "/dev/null");
    EXPECT_EQ(platform::SerialPortDevice(4, f.context.scan), "/dev/null");
}

TEST(PortDialog, TheConfigurationDialogInstallsTheChosenDriverAndKeepsTheOldOneOnAFailedCopy)
{
    SetupFixture f;
    f.AddSimDriver();
    PutFile(f.iniPath,
            std::string("[Setup]\nPorta=0\nRTX=2\nIndirizzo=88\nDriver=") + kSimEntry + "\n");
    CCorvaneSetup dlg(f.context);
    WhenModal([&] {
        EXPECT_EQ(dlg.GetDlgItemText(CCorvaneSetup::kPortSummary), kSimEntry);
        dlg.GetDlgItemAs<QAbstractButton>(ctl::kIdOk)->click();
    });
    EXPECT_EQ(dlg.DoModal(), ctl::kIdOk);
    const std::string installed = f.folder / "VekDriver.so";
    ASSERT_TRUE(fs::exists(installed));
    EXPECT_EQ(fs::file_size(installed), fs::file_size(f.folder / "Drivers/SimRadio.so"));

    // A driver that cannot be copied: the old library stays and the reason is shown.
    fs::create_directories(f.folder / "Drivers/Folder.so");
    CCorvaneSetup broken(f.context);
    EXPECT_FALSE(broken.InstallDriver("Folder.so - Ver. 2.0"));
    EXPECT_EQ(fs::file_size(installed), fs::file_size(f.folder / "Drivers/SimRadio.so"));
    ASSERT_FALSE(f.boxes.empty());
    EXPECT_NE(f.boxes.back().text.find("Folder.so"), std::string::npos);
}
