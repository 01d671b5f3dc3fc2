// The configuration dialog driven as a user would, and what it leaves in the INI and registry
// files: the first-start values and refusals, a full edit, the clamps, Cancel, the summaries
// and "Restore Default".
#include "ComSetDlg.h"
#include "CorvaneSetupDlg.h"
#include "FlatButton.h"
#include "PrivateProfile.h"
#include "SetupTestSupport.h"
#include "SettingsKeys.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QScreen>
#include <QScrollArea>

#include <gtest/gtest.h>

#include <map>

namespace {

using namespace setuptest;
using testing_support::PutFile;
using Dlg = CCorvaneSetup;

constexpr int kStillOpen = -5;

// Opens the dialog, runs `step` inside it and returns how it ended (kStillOpen when `step`
// left it open; it is then closed).
int RunDialog(CCorvaneSetup& dlg, const std::function<void()>& step)
{
    WhenModal([&] {
        step();
        if (dlg.isVisible())
            dlg.EndDialog(kStillOpen);
    });
    return dlg.DoModal();
}

void Click(CCorvaneSetup& dlg, int id)
{
    auto* button = dlg.GetDlgItemAs<QAbstractButton>(id);
    ASSERT_NE(button, nullptr) << id;
    button->click();
}

std::string Value(const std::string& file, const char* section, const char* key)
{
    return platform::ReadProfileValue(file, section, key).value_or("<absent>");
}

}  // namespace

TEST(SetupDialog, AFreshInstallShowsTheDefaultsAndRefusesAddressThenModelWritingNothing)
{
    SetupFixture f;
    PutFile(f.iniPath, "[Setup]\nLanguage=English.lng\n");
    const std::string before = f.Ini();
    CCorvaneSetup dlg(f.context);
    const int result = RunDialog(dlg, [&] {
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::kPortSummary), "COM1:19200,8,1,N,RTS ON,DTR ON");
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::kPttSummary), "PTT disabled");
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::kAudioSummary), "Audio : PCM 11.025 kHz, 8 Bit, Mono");
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::kAddress), "0");
        EXPECT_EQ(dlg.GetDlgItemAs<QComboBox>(Dlg::kModel)->currentIndex(), -1);
        EXPECT_EQ(dlg.GetDlgItemAs<QComboBox>(Dlg::kModel)->count(), 5);
        // The key example: a raised key of the light background captioned in the on colour.
        auto* key = dlg.GetDlgItemAs<COnOffButton>(Dlg::kExample);
        const QImage look = key->grab().toImage();
        EXPECT_FALSE(key->IsFlat());
        EXPECT_EQ(look.pixelColor(look.width() / 8, look.height() / 2), QColor(80, 80, 80));
        EXPECT_EQ(key->GetColor(CFlatButton::kFgOut), RgbColor(255, 0, 0));
        Click(dlg, ctl::kIdOk);
        ASSERT_EQ(f.BoxTexts(), std::vector<std::string>{"Not valid communication address"});
        // Not one or two hexadecimal digits: "100" is no address 0x10.
        for (const char* bad : {"100", "g1", "", "00"}) {
            dlg.SetDlgItemText(Dlg::kAddress, bad);
            Click(dlg, ctl::kIdOk);
            EXPECT_EQ(f.boxes.back().text, "Not valid communication address") << bad;
        }
        dlg.SetDlgItemText(Dlg::kAddress, "5");
        Click(dlg, ctl::kIdOk);
        EXPECT_EQ(f.boxes.back().text, "Select the RTX");
        EXPECT_TRUE(dlg.GetDlgItem(Dlg::kModel)->hasFocus() || !dlg.isActiveWindow());
    });
    EXPECT_EQ(result, kStillOpen);
    EXPECT_FALSE(dlg.SettingsChanged());
    EXPECT_EQ(f.Ini(), before) << "a refused OK wrote the INI";
    EXPECT_FALSE(std::filesystem::exists(f.registryPath));

    // No sound input: said once the configuration is known, with the device and the cause.
    f.context.audioSystem = [] {
        return std::make_unique<audio::TestWaveSystem>(std::vector<std::string>{},
                                                       std::vector<std::string>{"Speaker"});
    };
    for (const bool configured : {false, true}) {
        if (configured)
            PutFile(f.iniPath, "[Setup]\nLanguage=English.lng\nPorta=1\nRTX=1\nIndirizzo=88\n");
        f.boxes.clear();
        CCorvaneSetup silent(f.context);
        RunDialog(silent, [&] {
            EXPECT_EQ(silent.GetDlgItemText(Dlg::kAudioSummary), "Audio support disabled");
        });
        const std::string told =
            "Error 1 in the initialization of the audio support.\nthe "
            "default sound input device cannot record: there is no sound "
            "input device";
        EXPECT_EQ(f.BoxTexts(),
                  configured ? std::vector<std::string>{told} : std::vector<std::string>{});
    }
}

TEST(SetupDialog, AFullEditReachesEveryKeyAndCancelAfterARefusalKeepsBothFiles)
{
    SetupFixture f;
    PutFile(f.iniPath, "[Setup]\nPorta=123\nRTX=1\nIndirizzo=78\nPTTPorta=0\n");
    f.registry.WriteProfileString("CurrentSet", "FontMain", "Old Face");
    {
        // Cancel after a refused OK: both files stay byte for byte.
        const std::string ini = f.Ini(), reg = f.Registry();
        CCorvaneSetup dlg(f.context);
        RunDialog(dlg, [&] {
            dlg.SetDlgItemText(Dlg::kAddress, "zz");
            dlg.SetDlgItemText(Dlg::kSMeterRefresh, "40000");
            Click(dlg, ctl::kIdOk);
            Click(dlg, ctl::kIdCancel);
        });
        EXPECT_EQ(f.BoxTexts(), std::vector<std::string>{"Not valid communication address"});
        EXPECT_EQ(f.Ini(), ini);
        EXPECT_EQ(f.Registry(), reg);
        EXPECT_FALSE(dlg.SettingsChanged());
    }

    CCorvaneSetup dlg(f.context);
    const int result = RunDialog(dlg, [&] {
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::kAddress), "4e");
        EXPECT_FALSE(dlg.GetDlgItem(Dlg::kExtended)->isEnabled()) << "no G check for the MKII";
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::kPortSummary), "COM123:19200,8,1,N,RTS ON,DTR ON");
        auto* model = dlg.GetDlgItemAs<QComboBox>(Dlg::kModel);
        Choose(model, 4);  // OTHER: address "00", G on
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::kAddress), "00");
        Choose(model, 3);  // IC718
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::kAddress), "5e");
        EXPECT_TRUE(dlg.GetDlgItemAs<QCheckBox>(Dlg::kExtended)->isChecked());
        dlg.SetDlgItemText(Dlg::kAddress, "A");
        dlg.SetDlgItemText(Dlg::kSMeterLower, "40");
        dlg.SetDlgItemText(Dlg::kSMeterDivisor, "12");
        dlg.SetDlgItemText(Dlg::kSMeterRefresh, "0");
        dlg.SetDlgItemText(Dlg::kClipboardFactor, "1");
        dlg.GetDlgItemAs<QCheckBox>(Dlg::kClipboardAuto)->setChecked(false);
        dlg.SetDlgItemText(Dlg::kDecimal, ",");
        dlg.SetDlgItemText(Dlg::kUtcOffset, "+2");
        dlg.SetDlgItemText(Dlg::kLog, "trace.txt");
        dlg.SetDlgItemText(Dlg::kTimeout, "0");
        dlg.GetDlgItemAs<QCheckBox>(Dlg::kToolTips)->setChecked(false);
        dlg.SetDlgItemText(Dlg::kUpdateDays, "7");
        dlg.SetDlgItemText(Dlg::kLatency, "15");
        // The sizes offered are 6 to 12.
        auto* sizes = dlg.GetDlgItemAs<QComboBox>(Dlg::kFontSizeMain);
        ASSERT_EQ(sizes->count(), 7);
        EXPECT_EQ(sizes->itemText(6), "12");
        Choose(sizes, 5);
        Choose(dlg.GetDlgItemAs<QComboBox>(Dlg::kFontSizeOther), 3);
        Click(dlg, ctl::kIdOk);
    });
    EXPECT_EQ(result, ctl::kIdOk);
    EXPECT_TRUE(dlg.SettingsChanged());
    const std::map<std::pair<std::string, std::string>, std::string> expected{
        {{"Setup", "Baud"}, "19200"},
        {{"Setup", "Bit"}, "8"},
        {{"Setup", "Stop"}, "1"},
        {{"Setup", "Parita"}, "N"},
        {{"Setup", "RTS"}, "1"},
        {{"Setup", "DTR"}, "1"},
        {{"Setup", "PortaModo"}, "0"},
        {{"Setup", "Porta"}, "123"},
        {{"Setup", "Driver"}, ""},
        {{"Setup", "RTX"}, "3"},
        {{"Setup", "Indirizzo"}, "10"},
        {{"Setup", "VersioneG"}, "1"},
        {{"S-Meter", "Inferiore"}, "40"},
        {{"S-Meter", "Divisore"}, "12"},
        {{"S-Meter", "Refresh"}, "1"},
        {{"Cluster", "Moltiplicatore"}, "1"},
        {{"Cluster", "AutoMode"}, "0"},
        {{"Cluster", "Decimale"}, "44"},
        {{"Setup", "UTCOffset"}, "+2"},
        {{"Setup", "Log"}, "trace.txt"},
        {{"Setup", "DelayCommand"}, "100"},
        {{"Setup", "Timeout"}, "200"},
        {{"Setup", "BkgR"}, "0"},
        {{"Setup", "TextG"}, "230"},
        {{"Setup", "CheckOnR"}, "255"},
        {{"Setup", "ToolTips"}, "0"},
        {{"Setup", "GiorniUpd"}, "7"},
        {{"Setup", "Latency"}, "15"},
        {{"Setup", "PTTPorta"}, "0"},
        {{"Setup", "PTTPin"}, "0"},
        {{"Setup", "PTTCopyON"}, "@[on]@"},
        {{"Setup", "PTTKey"}, "0"},
        {{"TxRx", "TuneSec"}, "5"}};
    for (const auto& [where, value] : expected)
        EXPECT_EQ(Value(f.iniPath, where.first.c_str(), where.second.c_str()), value)
            << where.first << "/" << where.second;
    const std::string reg = "Software\\Dravik\\Corvane\\CurrentSet";
    EXPECT_EQ(f.registry.GetProfileInt("CurrentSet", "FontSizeMain", 0), 11);
    EXPECT_EQ(f.registry.GetProfileInt("CurrentSet", "FontSizeOther", 0), 9);
    EXPECT_EQ(Value(f.registryPath, reg.c_str(), "FontMain"), "Old Face");
    EXPECT_NE(Value(f.registryPath, reg.c_str(), "FontOther"), "<absent>");

    // The refresh clamp at the other end.
    CCorvaneSetup again(f.context);
    RunDialog(again, [&] {
        EXPECT_EQ(again.GetDlgItemText(Dlg::kAddress), "a");
        again.SetDlgItemText(Dlg::kSMeterRefresh, "40000");
        Click(again, ctl::kIdOk);
    });
    EXPECT_EQ(Value(f.iniPath, "S-Meter", "Refresh"), "30000");
}

TEST(SetupDialog, PttOnTheCatPortSwitchesThatLineOffAndOkStoresIt)
{
    SetupFixture f;
    PutFile(f.iniPath, "[Setup]\nPorta=3\nRTX=2\nIndirizzo=88\nPTTPorta=3\nPTTPin=1\n");
    CCorvaneSetup dlg(f.context);
    RunDialog(dlg, [&] {
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::kPortSummary), "COM3:19200,8,1,N,RTS ON,DTR OFF");
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::kPttSummary), "PTT enabled on COM3: DTR");
        Click(dlg, ctl::kIdOk);
    });
    EXPECT_EQ(Value(f.iniPath, "Setup", "DTR"), "0");
    EXPECT_EQ(Value(f.iniPath, "Setup", "RTS"), "1");
    EXPECT_EQ(Value(f.iniPath, "Setup", "PTTPorta"), "3");
}

TEST(SetupDialog, RestoreDefaultDeletesExactlyItsKeysAfterYes)
{
    SetupFixture f;
    const char* restored[][2] = {{"Setup", "DelayCommand"}, {"Setup", "Log"},
                                 {"Cluster", "AutoMode"},   {"Cluster", "Moltiplicatore"},
                                 {"Cluster", "Decimale"},   {"S-Meter", "Inferiore"},
                                 {"S-Meter", "Divisore"},   {"S-Meter", "Refresh"},
                                 {"Setup", "Timeout"},      {"Setup", "BkgR"},
                                 {"Setup", "BkgG"},         {"Setup", "BkgB"},
                                 {"Setup", "TextB"},        {"Setup", "TextR"},
                                 {"Setup", "TextG"},        {"Setup", "CheckOnR"},
                                 {"Setup", "CheckOnG"},     {"Setup", "CheckOnB"},
                                 {"Setup", "ToolTips"},     {"Setup", "GiorniUpd"},
                                 {"Setup", "Latency"},      {"Setup", "Language"}};
    const char* kept[][2] = {{"Setup", "Porta"},     {"Setup", "Driver"},   {"Setup", "RTX"},
                             {"Setup", "Indirizzo"}, {"Setup", "PTTPorta"}, {"Setup", "UTCOffset"},
                             {"Setup", "Baud"},      {"TxRx", "TuneSec"}};
    for (const auto& k : restored)
        f.ini.WriteString(k[0], k[1], "7");
    for (const auto& k : kept)
        f.ini.WriteString(k[0], k[1], "5");
    const std::string before = f.Ini();

    CCorvaneSetup no(f.context);
    RunDialog(no, [&] { Click(no, Dlg::kRestoreDefault); });
    EXPECT_EQ(f.boxes.back().text, "ATTENTION !!!\nRestore the default settings of the program ?");
    EXPECT_EQ(f.Ini(), before) << "No restored something";

    f.answers = {mb::kIdYes};
    CCorvaneSetup yes(f.context);
    const int result = RunDialog(yes, [&] {
        yes.SetDlgItemText(Dlg::kAddress, "77");  // not stored: the dialog's values are dropped
        Click(yes, Dlg::kRestoreDefault);
    });
    EXPECT_EQ(result, ctl::kIdOk);
    EXPECT_TRUE(yes.SettingsChanged());
    for (const auto& k : restored)
        EXPECT_EQ(Value(f.iniPath, k[0], k[1]), "<absent>") << k[0] << "/" << k[1];
    for (const auto& k : kept)
        EXPECT_EQ(Value(f.iniPath, k[0], k[1]), "5") << k[0] << "/" << k[1];
    EXPECT_EQ(f.registry.GetProfileInt("CurrentSet", "ResetPosition", 0), 1);
}

// At the largest font the configuration offers the dialog stays on the screen and OK and Cancel
// are shown or reached by scrolling to them (on a screen smaller than the dialog its controls
// scroll). Font sizes stored beyond the offered ones show and are stored as the nearest offered.
TEST(SetupDialog, AtTheLargestFontOkAndCancelStayReachableAndLargerSizesAreRefused)
{
    SetupFixture f;
    PutFile(f.iniPath, "[Setup]\nLanguage=English.lng\nIndirizzo=88\nRTX=2\n");
    f.registry.Write(settings::reg::FontSizeMainInDialog, 40);
    f.registry.Write(settings::reg::FontSizeOtherInDialog, 3);
    CCorvaneSetup dlg(f.context);
    dlg.SetTemplateFont("DejaVu Sans", settings::reg::kLargestFontSize);
    const int result = RunDialog(dlg, [&] {
        const QRect screen = dlg.screen()->availableGeometry();
        EXPECT_TRUE(screen.contains(dlg.frameGeometry()));
        // Where the dialog scrolls, it is the one around all its controls.
        auto* scroller = dlg.findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
        EXPECT_EQ(scroller != nullptr, dlg.ScrollsOnScreen());
        for (int id : {ctl::kIdOk, ctl::kIdCancel}) {
            QWidget* button = dlg.GetDlgItem(id);
            ASSERT_NE(button, nullptr);
            if (scroller != nullptr)
                scroller->ensureWidgetVisible(button);
            const QRect shown(button->mapTo(&dlg, QPoint(0, 0)), button->size());
            EXPECT_TRUE(dlg.rect().contains(shown)) << id;
        }
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::kFontSizeMain), "12");
        EXPECT_EQ(dlg.GetDlgItemText(Dlg::kFontSizeOther), "6");
        Click(dlg, ctl::kIdOk);
    });
    EXPECT_EQ(result, ctl::kIdOk);
    EXPECT_EQ(Value(f.registryPath, "Software\\Dravik\\Corvane\\CurrentSet", "FontSizeMain"),
              "dword:" + std::to_string(settings::reg::kLargestFontSize));
    EXPECT_EQ(Value(f.registryPath, "Software\\Dravik\\Corvane\\CurrentSet", "FontSizeOther"),
              "dword:" + std::to_string(settings::reg::kSmallestFontSize));
}
