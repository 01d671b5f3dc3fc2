// The whole program with no port configured: the start-up asks to configure (message 104), the
// configuration dialog opens, the user gives radiosim's pseudo-terminal by its path, the model
// and the address, and the window connects to that radio and reads its frequency.
#include "../cat/RadiosimProcess.h"
#include "ComSetDlg.h"
#include "CorvaneSetupDlg.h"
#include "DlgLng.h"
#include "Ini.h"
#include "PrivateProfile.h"
#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QComboBox>

using namespace wndtest;

namespace {

// Acts on the modal dialog of type T once it is shown, through a polling timer.
template <class T>
void WhenShown(QObject* owner, std::function<void(T&)> act)
{
    auto* timer = new QTimer(owner);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog == nullptr || !dialog->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        act(*dialog);
    });
    timer->start();
}

}  // namespace

TEST(SetupWindow, NoPortAtStartOpensTheConfigurationAndTheChosenDeviceConnects)
{
    WindowFixture f;
    cattest::RadiosimProcess sim({"--model", "IC718", "--address", "5e", "--frequency", "7074000"});
    ASSERT_FALSE(sim.Device().empty()) << "radiosim did not start";
    {
        CIni ini;
        ini.SetPath((f.folder / "Corvane.ini").c_str());
        ini.WriteString("Setup", "Driver", "");
        ini.WriteInt("Setup", "Porta", 0);
    }
    f.yesNoAnswer = mb::kIdYes;
    QObject owner;
    bool dialogShown = false;
    WhenShown<CCorvaneSetup>(&owner, [&](CCorvaneSetup& setup) {
        dialogShown = true;
        WhenShown<CComSet>(&owner, [&](CComSet& ports) {
            ports.SetDlgItemText(CComSet::kDevicePath, sim.Device());
            ports.GetDlgItemAs<QAbstractButton>(CComSet::kUseDevice)->click();
            ports.GetDlgItemAs<QAbstractButton>(ctl::kIdOk)->click();
        });
        setup.GetDlgItemAs<QAbstractButton>(CCorvaneSetup::kPortSummary)->click();
        auto* model = setup.GetDlgItemAs<QComboBox>(CCorvaneSetup::kModel);
        model->setCurrentIndex(3);
        emit model->activated(3);
        setup.GetDlgItemAs<QAbstractButton>(ctl::kIdOk)->click();
    });

    const bool ran = f.Run([&](CCorvaneDlg& w) {
        EXPECT_TRUE(PumpUntil([&] { return w.Controller().State().frequencyHz == 7074000; }));
        EXPECT_FALSE(w.IsOffLine());
        w.CloseProgram();
    });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(dialogShown);
    ASSERT_FALSE(f.boxes.empty());
    EXPECT_EQ(f.boxes.front().text, "Configuration not valid.\n\nSet now ?");
    const std::string ini = f.folder / "Corvane.ini";
    const std::string port = platform::ReadProfileValue(ini, "Setup", "Porta").value_or("");
    ASSERT_FALSE(port.empty());
    EXPECT_NE(port, "0");
    EXPECT_EQ(platform::ReadProfileValue(ini, "Setup", "Indirizzo"), "94");
    EXPECT_EQ(platform::ReadProfileValue(ini, "Setup", "RTX"), "3");
    EXPECT_EQ(f.profile->GetProfileString("Ports", ("COM" + port).c_str()), sim.Device());
}

TEST(SetupWindow, TheLanguageInUseChosenAgainThenCancelKeepsTheProgramRunning)
{
    WindowFixture f;
    QObject owner;
    bool chosen = false;
    WhenShown<CCorvaneSetup>(&owner, [&](CCorvaneSetup& setup) {
        WhenShown<CDlgLng>(&owner, [&](CDlgLng& languages) {
            chosen = true;
            languages.GetDlgItemAs<QAbstractButton>(CDlgLng::kIdcOk)->click();
        });
        setup.GetDlgItemAs<QAbstractButton>(CCorvaneSetup::kChangeLanguage)->click();
        setup.GetDlgItemAs<QAbstractButton>(ctl::kIdCancel)->click();
    });

    bool runningAfter = false;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        w.OnSetup();
        // The old settings connect again and the radio is read.
        runningAfter = w.IsInitialised() && w.isVisible()
                       && PumpUntil([&] { return !w.Controller().State().frequencyBlank; });
        w.CloseProgram();
    });
    EXPECT_TRUE(ran);
    EXPECT_TRUE(chosen);
    EXPECT_TRUE(runningAfter);
    // No notice that the program must restart, nor any other.
    for (const MessageBoxRequest& box : f.boxes)
        ADD_FAILURE() << box.text;
}
