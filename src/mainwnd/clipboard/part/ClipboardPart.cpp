#include "ClipboardPart.h"

#include "BandTable.h"
#include "ClipboardTuning.h"
#include "CommandCodes.h"
#include "FlatButton.h"
#include "Ini.h"
#include "LinkSettings.h"
#include "MainWindowServices.h"
#include "ModelCaps.h"
#include "MyFontDialog.h"
#include "ProgramClipboard.h"
#include "RadioController.h"
#include "RadioLink.h"
#include "RadioModes.h"
#include "SettingsKeys.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

constexpr int kHookClipboard = 1041;
constexpr settings::IniInt kCluster{"CurrentSet", "Cluster", 0};

class CClipboardPart : public IMainWindowPart {
public:
    explicit CClipboardPart(IMainWindowServices& services) : services_(services)
    {
        CIni& ini = services_.Ini();
        settings_.autoMode = ini.GetInt(settings::cluster::AutoMode) == 1;
        settings_.decimal = ini.GetInt(settings::cluster::Decimale);
        settings_.multiplier = ini.GetInt(settings::cluster::Moltiplicatore);
    }
    ~CClipboardPart() override { QObject::disconnect(watch_); }
    CClipboardPart(const CClipboardPart&) = delete;
    CClipboardPart& operator=(const CClipboardPart&) = delete;

    void OnControlsCreated() override
    {
        watch_ = QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged,
                                  &services_.Window(), [this] { OnClipboardChanged(); });
    }

    void OnClosing() override { QObject::disconnect(watch_); }

    bool OnCommand(int id, int code) override
    {
        if (id != kHookClipboard || code != ctl::kBnClicked)
            return false;
        services_.Ini().WriteInt(kCluster, HookOn() ? 1 : 0);
        return true;
    }

private:
    bool HookOn() const
    {
        const auto* b = services_.Window().GetDlgItemAs<COnOffButton>(kHookClipboard);
        return b != nullptr && b->GetCheck() != 0;
    }

    void OnClipboardChanged()
    {
        if (!HookOn() || services_.IsFirstInit())
            return;
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        // The program's own copies (the offset field, a grid) are no cluster spots.
        if (data == nullptr || !data->hasText() || IsProgramClipboardData(data))
            return;
        Act(data->text().toStdString());
    }

    void Act(const std::string& text)
    {
        const LinkSettings& link = services_.Link().Settings();
        clipboard::ClipboardSettings s = settings_;
        s.pttOn = link.pttCopyOn;
        s.pttOff = link.pttCopyOff;
        const bands::CBandTable* table = services_.BandTable();
        // Without the band table no mode is chosen.
        static const bands::CBandTable kNoTable;
        if (table == nullptr)
            s.autoMode = false;
        const radio::RadioState& st = services_.Controller().State();
        const clipboard::ClipboardRequest r =
            clipboard::ReadClipboardText(text, s, table != nullptr ? *table : kNoTable,
                                         st.lowerLimit, st.upperLimit, civ::FindCaps(st.model));
        switch (r.action) {
        case clipboard::ClipboardAction::PttOn: services_.SetPtt(true); break;
        case clipboard::ClipboardAction::PttOff: services_.SetPtt(false); break;
        case clipboard::ClipboardAction::Tune: Tune(r); break;
        case clipboard::ClipboardAction::Ignore: break;
        }
    }

    void Tune(const clipboard::ClipboardRequest& r)
    {
        if (services_.IsOffLine())
            return;
        radio::CRadioController& controller = services_.Controller();
        if (controller.SetFrequency(r.frequencyHz) && r.mode) {
            if (const radio::ModeInfo* mode = radio::ModeInfoFor(*r.mode))
                controller.SendCommand(
                    civ::kCmdSetMode, mode->civ,
                    {civ::FilterByte(mode->civ, controller.State().filterNarrow)});
        }
        controller.ReadFrequencyMode(false);
    }

    IMainWindowServices& services_;
    clipboard::ClipboardSettings settings_;
    QMetaObject::Connection watch_;
};

}  // namespace

std::unique_ptr<IMainWindowPart> MakeClipboardPart(IMainWindowServices& services)
{
    return std::make_unique<CClipboardPart>(services);
}
