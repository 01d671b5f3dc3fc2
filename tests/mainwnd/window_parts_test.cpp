// A part plugged into the real main window beside the program's own: the windows it provides
// replace the placeholders, its hooks come in the window's order, the controller's reports reach
// it, and what it asks of the services reaches the other parts and the radio.
#include "WindowTestSupport.h"

#include "MainWindowServices.h"
#include "PlaceholderWindows.h"
#include "RemoteCodes.h"

#include <algorithm>

using namespace wndtest;

namespace {

constexpr unsigned kPageId = 154;
constexpr unsigned kToolWindowId = 252;
constexpr int kOwnCommand = 40000;

struct PartLog {
    std::vector<std::string> hooks;
    std::vector<RadioStateChange> changes;
    IMainWindowServices* services = nullptr;
    QWidget* page = nullptr;
    QWidget* toolWindow = nullptr;
    int timerTicks = 0;
    bool destroyed = false;

    bool Saw(const std::string& hook) const
    {
        return std::find(hooks.begin(), hooks.end(), hook) != hooks.end();
    }
    size_t IndexOf(const std::string& hook) const
    {
        return static_cast<size_t>(std::find(hooks.begin(), hooks.end(), hook) - hooks.begin());
    }
};

class CRecordingPart : public IMainWindowPart {
public:
    CRecordingPart(IMainWindowServices& services, PartLog& log) : log_(log)
    {
        log_.services = &services;
    }
    ~CRecordingPart() override { log_.destroyed = true; }

    CTabPage* CreatePage(unsigned id) override
    {
        if (id != kPageId)
            return nullptr;
        auto* page = new CPlaceholderPage(id);
        log_.page = page;
        return page;
    }
    CMyFontDialog* CreateToolWindow(unsigned id) override
    {
        if (id != kToolWindowId)
            return nullptr;
        auto* window = new CPlaceholderToolWindow(id, "Part window");
        log_.toolWindow = window;
        return window;
    }
    void OnControlsCreated() override { log_.hooks.push_back("controls"); }
    void OnStarted() override { log_.hooks.push_back("started"); }
    void OnTimer() override { ++log_.timerTicks; }
    void OnClosing() override { log_.hooks.push_back("closing"); }
    void SaveState() override { log_.hooks.push_back("save"); }
    bool OnCommand(int id, int code) override
    {
        if (id != kOwnCommand)
            return false;
        log_.hooks.push_back("command " + std::to_string(code));
        return true;
    }
    void OnRadioStateChanged(const RadioStateChange& change) override
    {
        log_.changes.push_back(change);
    }

private:
    PartLog& log_;
};

}  // namespace

TEST(MainWindowParts, APartPlugsInWithItsWindowsHooksAndReports)
{
    WindowFixture f;
    PartLog log;
    // Ahead of the program's parts: its windows win for ids the program's parts serve too.
    MainWindowPartList parts = ProgramParts();
    parts.insert(parts.begin(), [&log](IMainWindowServices& services) {
        return std::make_unique<CRecordingPart>(services, log);
    });

    const bool ran = f.Run(
        [&](CCorvaneDlg& w) {
            // Its windows stand where the placeholders would.
            ASSERT_NE(log.page, nullptr);
            ASSERT_NE(log.toolWindow, nullptr);
            EXPECT_EQ(w.Page(kPageId), log.page);
            EXPECT_EQ(w.ToolWindow(kToolWindowId), log.toolWindow);
            // The other ids keep their windows.
            EXPECT_NE(w.ToolWindow(230), nullptr);

            ASSERT_EQ(log.services, static_cast<IMainWindowServices*>(&w));
            EXPECT_TRUE(log.Saw("controls"));
            EXPECT_TRUE(PumpUntil([&] { return log.Saw("started"); }));
            EXPECT_LT(log.IndexOf("controls"), log.IndexOf("started"));
            EXPECT_TRUE(PumpUntil([&] { return log.timerTicks >= 1; }));

            // A command the window does not serve reaches the part.
            EXPECT_TRUE(w.DispatchCommand(kOwnCommand, 7));
            EXPECT_TRUE(log.Saw("command 7"));

            // The controller's reports of the radio's frequency.
            ASSERT_TRUE(PumpUntil([&] { return w.Controller().State().frequencyHz > 0; }));
            const int64_t hz = w.Controller().State().frequencyHz;
            EXPECT_TRUE(PumpUntil([&] {
                return std::any_of(
                    log.changes.begin(), log.changes.end(), [&](const RadioStateChange& c) {
                        return c.kind == RadioStateChange::Kind::Frequency && c.value == hz;
                    });
            }));
            EXPECT_TRUE(
                std::any_of(log.changes.begin(), log.changes.end(), [&](const RadioStateChange& c) {
                    return c.kind == RadioStateChange::Kind::Notification
                           && c.code == remote::kNoteFrequency && c.value == hz;
                }));

            // A mode a part chooses through the controller reaches the radio.
            log.services->Controller().SetMode(3);
            EXPECT_TRUE(PumpUntil(
                [&] { return f.Trace().find("FE FE 58 E0 06 03") != std::string::npos; }));

            log.services->PostClose();
            EXPECT_FALSE(log.Saw("closing")) << "the close runs after this handler";
        },
        {}, std::move(parts));
    ASSERT_TRUE(ran);
    EXPECT_TRUE(log.Saw("closing"));
    EXPECT_TRUE(log.Saw("save"));
    EXPECT_LT(log.IndexOf("closing"), log.IndexOf("save"));
    EXPECT_TRUE(log.destroyed);
}
