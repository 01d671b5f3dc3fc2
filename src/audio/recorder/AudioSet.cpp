#include "AudioSet.h"

#include "AudioErrorText.h"
#include "FolderPicker.h"
#include "FormatChooser.h"
#include "FrameworkContext.h"
#include "Ini.h"
#include "Language.h"
#include "Profile.h"
#include "RecorderNames.h"
#include "SettingsKeys.h"
#include "ToolTipLoc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace {
using namespace tpl;

constexpr int kMsgInitError = 1259;     // "Error %d in the initialization of the audio support."
constexpr int kMsgDriverFormat = 1163;  // the driver sets the format
constexpr int kMsgChooseTitle = 1266;
constexpr int kMsgBadFolder = 1267;
constexpr int kMsgFolderTitle = 1142;
constexpr int kMsgNotSupported = 1380;  // "This audio format is not supported by %s"
constexpr int kMsgNotSaved = 193;       // "Unable to save the file : %1"

TemplateItem Label(const char* text)
{
    return Control(ctl::kIdStatic, "STATIC", text);
}

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CAudioSet::kTemplateId, "Corvane - Audio setting",
    Column({Control(CAudioSet::kEnable, "CHECKBOX", "Enable audio support"),
            Grid(2, {Label("Input"), Control(CAudioSet::kInput, "COMBOBOX", "", 0, 26),
                     Label("Output"), Control(CAudioSet::kOutput, "COMBOBOX", "", 0, 26)}),
            Control(CAudioSet::kFormat, "BUTTON", "Audio :", kNoTranslate, 34),
            Row({Label("Folder"), Stretched(Control(CAudioSet::kFolder, "EDIT", "", 0, 24), 1),
                 Control(CAudioSet::kBrowse, "BUTTON", "...", kNoTranslate)}),
            Row({Label("File"), Control(CAudioSet::kFile, "EDIT", "", 0, 18), Stretch()}),
            Control(CAudioSet::kFront, "CHECKBOX", "Keep recorder in front"),
            Row({Stretch(), Control(ctl::kIdOk, "BUTTON", "OK"),
                 Control(ctl::kIdCancel, "BUTTON", "Cancel")})})}};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {{CAudioSet::kEnable, 1260}, {CAudioSet::kFormat, 1261}, {CAudioSet::kFolder, 1262},
             {CAudioSet::kBrowse, 1263}, {CAudioSet::kFile, 1264},   {CAudioSet::kFront, 1268},
             {CAudioSet::kInput, 1372},  {CAudioSet::kOutput, 1379}};

QString Q(const std::string& s)
{
    return QString::fromStdString(s);
}
}  // namespace

CAudioSet::CAudioSet(CIni& ini, Profile& registry, audio::WaveSystem& devices)
    : CMyFontDialog(kTemplateId),
      ini_(ini),
      registry_(registry),
      devices_(devices),
      engine_(devices, registry)
{
}

CAudioSet::~CAudioSet()
{
    engine_.Close();
}

bool CAudioSet::OnInitDialog()
{
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    FillDevices(kInput, devices_.InputNames(), registry_.Get(settings::reg::AudioInput));
    FillDevices(kOutput, devices_.OutputNames(), registry_.Get(settings::reg::AudioOutput));
    enabled_ = ini_.GetInt(settings::audiorecorder::Abilitato) != 0;
    SetDlgItemText(kFolder, registry_.Get(settings::reg::AudioFolder));
    SetDlgItemText(kFile, ini_.GetString(settings::audiorecorder::AudioFile));
    if (auto* enable = GetDlgItemAs<QCheckBox>(kEnable)) {
        enable->setChecked(enabled_);
        enable->setEnabled(!FromRecorder);
    }
    if (auto* front = GetDlgItemAs<QCheckBox>(kFront))
        front->setChecked(ini_.GetInt(settings::audiorecorder::Front) != 0);
    if (auto* file = GetDlgItemAs<QLineEdit>(kFile))
        connect(file, &QLineEdit::editingFinished, this, [this] {
            SetDlgItemText(kFile, audio::NormalizeFileField(GetDlgItemText(kFile)));
        });
    EnableControls();
    if (enabled_)
        EnableAudio();
    const bool ok = CMyFontDialog::OnInitDialog();
    if (FromRecorder)
        if (QWidget* front = GetDlgItem(kFront))
            front->setEnabled(false);
    return ok;
}

void CAudioSet::FillDevices(int id, const std::vector<std::string>& names,
                            const std::string& stored)
{
    auto* box = GetDlgItemAs<QComboBox>(id);
    if (box == nullptr)
        return;
    box->addItem(Q(audio::kDefaultDeviceName));
    for (const std::string& name : names)
        if (!name.empty())
            box->addItem(Q(name));
    // A device that has gone is shown, and used, as the default one.
    const int at = box->findText(Q(stored));
    box->setCurrentIndex(at >= 0 ? at : 0);
}

void CAudioSet::EnableControls()
{
    for (int id : {kInput, kOutput, kFormat, kFolder, kBrowse, kFile})
        if (QWidget* w = GetDlgItem(id))
            w->setEnabled(enabled_);
    if (QWidget* front = GetDlgItem(kFront))
        front->setEnabled(enabled_ && !FromRecorder);
    if (auto* enable = GetDlgItemAs<QCheckBox>(kEnable))
        enable->setChecked(enabled_);
    if (DriverAudio)
        if (QWidget* format = GetDlgItem(kFormat))
            format->setEnabled(false);
}

void CAudioSet::EnableAudio()
{
    const int error = engine_.Open();
    if (error != 0) {
        Error(audio::AudioErrorText(framework::Language(), kMsgInitError, error,
                                    engine_.LastProblem()));
        enabled_ = false;
        EnableControls();
        return;
    }
    std::vector<std::uint8_t> block;
    if (registry_.Get(settings::reg::Format, block) && !block.empty())
        engine_.SetFormatData(block.data(), block.size());
    ShowFormat();
}

void CAudioSet::ShowFormat()
{
    const CLanguage& language = framework::Language();
    SetDlgItemText(kFormat, DriverAudio
                                ? language.LoadString(kMsgDriverFormat)
                                : language.FormatText("Audio : %s %s", {engine_.GetFormatTagName(),
                                                                        engine_.GetFormatName()}));
}

void CAudioSet::ChooseFormat()
{
    std::string title = framework::Language().LoadString(kMsgChooseTitle).substr(0, 255);
    const int result = engine_.ChooseFormat(
        [this, &title](const std::vector<audio::WaveFormat>& offered,
                       const audio::WaveFormat& current, audio::WaveFormat& chosen) {
            return audio::RunFormatChooser(this, title, offered, current, chosen);
        });
    if (result == 0)
        ShowFormat();
}

void CAudioSet::Browse()
{
    const CLanguage& language = framework::Language();
    CFolderPicker picker(windowTitle().toStdString(), language.LoadString(kMsgFolderTitle),
                         std::nullopt);
    if (picker.DoModal(this) == 1)
        SetDlgItemText(kFolder, picker.GetPathName());
}

bool CAudioSet::OnCommand(int id, int code)
{
    if (code != ctl::kBnClicked)
        return CMyFontDialog::OnCommand(id, code);
    switch (id) {
    case kEnable:
        if (const auto* enable = GetDlgItemAs<QCheckBox>(kEnable))
            enabled_ = enable->isChecked();
        EnableControls();
        if (enabled_)
            EnableAudio();
        return true;
    case kFormat: ChooseFormat(); return true;
    case kBrowse: Browse(); return true;
    default: return CMyFontDialog::OnCommand(id, code);
    }
}

void CAudioSet::Error(const std::string& text)
{
    framework::Language().ShowMessage({text, "", mb::kOk | mb::kIconError, 0});
}

void CAudioSet::OnOK()
{
    if (const auto* enable = GetDlgItemAs<QCheckBox>(kEnable))
        enabled_ = enable->isChecked();
    bool written = true;
    if (enabled_) {
        const std::string folder = GetDlgItemText(kFolder);
        if (folder.size() < 2) {
            Error(framework::Language().LoadString(kMsgBadFolder));
            if (QWidget* w = GetDlgItem(kFolder))
                w->setFocus();
            return;
        }
        const std::string input = GetDlgItemText(kInput);
        const std::string output = GetDlgItemText(kOutput);
        audio::CWaveDevice device(devices_);
        const bool inputOk =
            DriverAudio
            || (device.SetDeviceByName(true, input), device.CanOpenInput(engine_.Format()));
        const bool outputOk =
            (device.SetDeviceByName(false, output), device.CanOpenOutput(engine_.Format()));
        if (!inputOk || !outputOk) {
            Error(framework::Language().Format(kMsgNotSupported, {inputOk ? output : input}));
            if (QWidget* w = GetDlgItem(kFormat))
                w->setFocus();
            return;
        }
        std::vector<std::uint8_t> block(audio::kFormatSize);
        engine_.GetFormatData(block.data());
        const std::string file = GetDlgItemText(kFile);
        const auto* front = GetDlgItemAs<QCheckBox>(kFront);
        written = registry_.Write(settings::reg::Format, block)
                  && registry_.Write(settings::reg::AudioFolder, folder)
                  && ini_.WriteString(settings::audiorecorder::AudioFile,
                                      file.empty() ? std::string(audio::kAutoName) : file)
                  && ini_.WriteInt(settings::audiorecorder::Front,
                                   front != nullptr && front->isChecked() ? 1 : 0)
                  && registry_.Write(settings::reg::AudioInput, input)
                  && registry_.Write(settings::reg::AudioOutput, output);
    }
    written = ini_.WriteInt(settings::audiorecorder::Abilitato, enabled_ ? 1 : 0) && written;
    if (!written) {
        Error(framework::Language().FormatString1(kMsgNotSaved, registry_.FilePath()));
        return;
    }
    EndDialog(ctl::kIdOk);
}
