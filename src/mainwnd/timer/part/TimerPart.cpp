#include "TimerPart.h"

#include "Clock.h"
#include "Language.h"
#include "LinkSettings.h"
#include "MainTimer.h"
#include "MainWindowServices.h"
#include "MyFontDialog.h"
#include "RadioLink.h"

namespace {

constexpr int kStrLocal = 1169;
constexpr int kStrUtc = 1170;

// The sked check goes to the skeds part through the services, as the timer knows no lists. (Not
// a base of the part: the part's own CheckDueSked hook has the same signature.)
class SkedCheckRoute : public mainwnd::ISkedCheck {
public:
    explicit SkedCheckRoute(IMainWindowServices& services) : services_(services) {}
    void CheckDueSked(int utcMinute, const std::string& key) override
    {
        services_.CheckDueSked(utcMinute, key);
    }

private:
    IMainWindowServices& services_;
};

class CTimerPart : public IMainWindowPart, private mainwnd::ITimerHost {
public:
    explicit CTimerPart(IMainWindowServices& services)
        : services_(services),
          skeds_(services),
          timer_(services.Ini(), *this, mainwnd::ProgramClock())
    {
        timer_.SetSkedCheck(&skeds_);
    }

    void OnControlsCreated() override
    {
        const CLanguage& language = services_.Language();
        timer_.SetCaptions(language.LoadString(kStrLocal), language.LoadString(kStrUtc));
        timer_.SetUtcOffset(services_.Link().Settings().utcOffset);
    }

    void OnTimer() override { timer_.OnTimer(); }

private:
    // mainwnd::ITimerHost
    bool UsesDriver() override { return services_.Link().UsesDriver(); }
    bool IsRadioConnected() override { return services_.Link().IsRadioConnected(); }
    bool IsOffLine() override { return services_.IsOffLine(); }
    void GoOffLine() override { services_.GoOffLine(); }
    void ShowClock(int fieldId, const std::string& text) override
    {
        services_.Window().SetDlgItemText(fieldId, text);
    }
    void ShowUsageTime(int minutes) override { services_.TellUsageTime(minutes); }

    IMainWindowServices& services_;
    SkedCheckRoute skeds_;
    mainwnd::CMainTimer timer_;
};

}  // namespace

std::unique_ptr<IMainWindowPart> MakeTimerPart(IMainWindowServices& services)
{
    return std::make_unique<CTimerPart>(services);
}
