#include "AudioRecorder.h"

#include "AudioErrorText.h"
#include "ControlResources.h"
#include "FlatButton.h"
#include "FrameworkContext.h"
#include "Ini.h"
#include "Language.h"
#include "MessageTarget.h"
#include "Profile.h"
#include "RecorderGlyphs.h"
#include "RecorderNames.h"
#include "SettingsKeys.h"
#include "SkinSlider.h"
#include "ToolTipLoc.h"
#include "WindowMessages.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

#include <cstdio>

namespace {
using namespace tpl;
using audio::Glyph;

const DialogTemplateRegistration kTemplate{DialogTemplate{
    CAudioRecorder::kTemplateId, "Corvane - AudioRecorder",
    Column({Row({Control(CAudioRecorder::kSettings, "CFlatButton", ""),
                 Control(CAudioRecorder::kRecord, "CFlatButton", ""),
                 Control(CAudioRecorder::kPause, "CFlatButton", ""),
                 Control(CAudioRecorder::kPlay, "CFlatButton", ""),
                 Stretched(Control(CAudioRecorder::kSlider, "CMySlider", "", 0, 16), 1),
                 Control(CAudioRecorder::kTime, "STATIC", "0:00:00", kNoTranslate | kRight, 9)}),
            Row({Stretched(Control(CAudioRecorder::kFile, "EDIT", "", 0, 18), 1),
                 Control(CAudioRecorder::kRecSql, "CHECKBOX", "Record only if SQL OFF")})})}};

constexpr struct {
    int control;
    int stringId;
} kTips[] = {{CAudioRecorder::kSettings, 1258}, {CAudioRecorder::kRecord, 1269},
             {CAudioRecorder::kPause, 1271},    {CAudioRecorder::kPlay, 1270},
             {CAudioRecorder::kRecSql, 1279},   {CAudioRecorder::kFile, 1264}};

constexpr const char* kZeroTime = "0:00:00";
constexpr int kMsgAudioError = 1286;  // "Error %d from audio device"
constexpr int kSliderEnd = 0x7FFFFFFF;

int SliderValue(std::int64_t v)
{
    return v < 0 ? 0 : v > kSliderEnd ? kSliderEnd : static_cast<int>(v);
}
}  // namespace

CAudioRecorder::CAudioRecorder(IRecorderHost& host, CIni& ini, Profile& registry,
                               std::shared_ptr<audio::WaveSystem> devices)
    : CMyFontDialog(kTemplateId),
      host_(&host),
      ini_(ini),
      registry_(registry),
      devices_(std::move(devices)),
      engine_(*devices_, registry),
      target_(std::make_unique<platform::MessageTarget>(
          [this](unsigned msg, std::uintptr_t w, std::intptr_t l) { WindowProc(msg, w, l); })),
      clock_([] { return std::time(nullptr); })
{
    engine_.SetDriverAudio([this] { return DriverAudio(); });
}

CAudioRecorder::~CAudioRecorder()
{
    StopAll();
}

void CAudioRecorder::Detach()
{
    StopAll();
    host_ = nullptr;
}

void CAudioRecorder::PauseDriverAudio(bool pause)
{
    if (DriverAudio())
        host_->PauseDriverAudio(pause);
}

platform::MessagePoster CAudioRecorder::Poster() const
{
    return target_->Poster();
}

bool CAudioRecorder::OnInitDialog()
{
    baseTitle_ = windowTitle().toStdString();
    for (const auto& tip : kTips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    const struct {
        int id;
        Glyph glyph;
        bool check;
    } buttons[] = {{kSettings, Glyph::Settings, false},
                   {kRecord, Glyph::Record, true},
                   {kPause, Glyph::Pause, true},
                   {kPlay, Glyph::Play, true}};
    for (const auto& b : buttons)
        if (auto* button = GetDlgItemAs<CFlatButton>(b.id)) {
            if (b.check)
                button->SetButtonType(CFlatButton::kCheckBox);
            button->SetIcon(audio::GlyphPixmap(b.glyph, true), audio::GlyphPixmap(b.glyph, false));
            button->SetCursor(res::kCursorAvailable);
        }
    SetUsable(kPause, false);
    if (auto* slider = GetDlgItemAs<CMySlider>(kSlider)) {
        slider->setOrientation(Qt::Horizontal);
        slider->setRange(0, 0);
        // A playback pauses while the user chooses its place, and plays on from the place
        // chosen, whether the thumb was dragged or the track clicked.
        connect(slider, &CMySlider::leftButtonPressed, this,
                [this] { WindowProc(msg::kSliderClicked, 0, 0); });
        connect(slider, &CMySlider::leftButtonReleased, this, [this] { OnSliderReleased(); });
    }
    if (auto* file = GetDlgItemAs<QLineEdit>(kFile))
        connect(file, &QLineEdit::editingFinished, this, [this] { OnFileFieldLeft(); });
    SetDlgItemText(kTime, kZeroTime);
    if (auto* recSql = GetDlgItemAs<QCheckBox>(kRecSql)) {
        recSql->setChecked(ini_.GetInt("AudioRecorder", "RecSQL", 0) != 0);
        connect(recSql, &QCheckBox::toggled, this, [this] { UpdateSquelchWatch(); });
    }
    LoadSettings();
    const bool ok = CMyFontDialog::OnInitDialog();
    adjustSize();
    return ok;
}

void CAudioRecorder::LoadSettings()
{
    const CLanguage& language = framework::Language();
    if (baseTitle_.empty())
        baseTitle_ = windowTitle().toStdString();
    if (DriverAudio()) {
        setWindowTitle(QString::fromStdString(language.Translate(baseTitle_)));
    } else {
        std::vector<std::uint8_t> block;
        if (registry_.Get(settings::reg::Format, block) && !block.empty()
            && !engine_.SetFormatData(block.data(), block.size()))
            std::fprintf(stderr, "recorder: the stored recording format is not valid\n");
        setWindowTitle(QString::fromStdString(language.FormatText(
            "%s - %s %s", {baseTitle_, engine_.GetFormatTagName(), engine_.GetFormatName()})));
    }
    folder_ = registry_.Get(settings::reg::AudioFolder);
    fileName_ = ini_.GetString(settings::audiorecorder::AudioFile);
    lastAutoName_.clear();
    SetDlgItemText(kFile, fileName_);
    if (QWidget* recSql = GetDlgItem(kRecSql))
        recSql->setEnabled(host_ != nullptr && host_->ExtendedFunctions());
}

// ---- the operations ----

std::string CAudioRecorder::NextRecordingName()
{
    lastAutoName_ = audio::FreshAutoFileName(audio::FolderOrProgramFolder(folder_), clock_());
    SetDlgItemText(kFile, lastAutoName_);
    return lastAutoName_;
}

int CAudioRecorder::ToggleRecording(bool start, const std::string& fileName,
                                    const std::string& folder, bool append)
{
    if (!start) {
        SetSlider(0, 0, 0);
        engine_.StopInput();
        SetCheck(kPause, false);
        SetUsable(kPause, false);
        SetUsable(kPlay, true);
        SetUsable(kSettings, true);
        SetCheck(kRecord, false);
        UpdateSquelchWatch();
        // A caller's file was shown while it recorded; the bar's own comes back.
        if (fieldBeforeCaller_) {
            SetDlgItemText(kFile, *fieldBeforeCaller_);
            fieldBeforeCaller_.reset();
        }
        return 0;
    }
    SetCheck(kPause, false);
    // Busy either way: a recording never starts over a playback.
    if (engine_.State() != audio::WaveEngine::kIdle || engine_.DeviceOpen())
        return kAlreadyRecording;
    SetDlgItemText(kTime, kZeroTime);
    const std::string name = audio::IsAutoName(fileName) ? NextRecordingName() : fileName;
    const std::string path = audio::FolderOrProgramFolder(folder) + name;
    SetSlider(0, kSliderEnd, 0);
    const int result = engine_.StartRecording(target_->Poster(), path, append);
    if (result != 0) {
        SetSlider(0, 0, 0);
        return result;
    }
    recordedPath_ = path;
    // The bar shows the file that records, whoever named it.
    if (const std::string shown = GetDlgItemText(kFile); shown != name) {
        fieldBeforeCaller_ = shown;
        SetDlgItemText(kFile, name);
    }
    SetUsable(kPause, true);
    SetUsable(kPlay, false);
    SetUsable(kSettings, false);
    SetCheck(kRecord, true);
    UpdateSquelchWatch();
    return 0;
}

int CAudioRecorder::TogglePlayback(std::optional<platform::MessagePoster> notify, bool start,
                                   const std::string& fileName, const std::string& folder,
                                   std::uint32_t offset, std::uint32_t length)
{
    if (!start) {
        const bool wasPlaying = engine_.DeviceOpen() || Playing();
        engine_.StopPlay();
        SetCheck(kPlay, false);
        SetCheck(kPause, false);
        SetUsable(kPause, false);
        SetUsable(kRecord, true);
        SetUsable(kSettings, true);
        if (wasPlaying)
            PauseDriverAudio(false);
        return 0;
    }
    SetCheck(kPause, false);
    if (engine_.State() != audio::WaveEngine::kIdle || engine_.DeviceOpen())
        return kAlreadyPlaying;
    notifyRequested_ = notify.has_value();
    notifyWindow_ = notify ? *notify : platform::MessagePoster{};
    if (!seeking_) {
        SetDlgItemText(kTime, kZeroTime);
        SetSlider(0, 0, 0);
    }
    // The caller's file and folder; the bar's own stay as they are.
    const std::string path = audio::FolderOrProgramFolder(folder) + fileName;
    int result = engine_.OpenWaveFile(path, offset, length);
    const audio::WaveLayout layout = engine_.PlayLayout();
    engine_.CloseWaveFile();
    if (result != 0)
        return result;
    if (!seeking_) {
        const std::int64_t end = std::int64_t{layout.dataStart} + layout.dataSize;
        if (offset != 0 && length != 0)
            SetSlider(offset, std::min<std::int64_t>(std::int64_t{offset} + length, end), offset);
        else
            SetSlider(0, end, 0);
    }
    result = engine_.StartPlay(offset, path, target_->Poster(), length);
    if (result != 0)
        return result;
    SetUsable(kPause, true);
    SetUsable(kRecord, false);
    SetUsable(kSettings, false);
    SetCheck(kPlay, true);
    PauseDriverAudio(true);
    return 0;
}

void CAudioRecorder::SetPaused(bool pause)
{
    int result = 1;
    if (Playing() && engine_.DeviceOpen())
        result = engine_.PausePlay(pause);
    else if (Recording())
        result = engine_.PauseRecording(pause);
    SetPauseButton(pause && result == 0);
}

void CAudioRecorder::SetPauseButton(bool pressed)
{
    SetCheck(kPause, pressed);
    if (auto* b = GetDlgItemAs<CFlatButton>(kPause))
        b->SetIcon(audio::GlyphPixmap(Glyph::Pause, true), audio::GlyphPixmap(Glyph::Pause, false));
}

void CAudioRecorder::StopAll()
{
    if (Recording())
        ToggleRecording(false, {}, {}, false);
    if (Playing() || engine_.DeviceOpen())
        TogglePlayback(std::nullopt, false, {}, {});
}

void CAudioRecorder::EnablePlayButton()
{
    if (QWidget* play = GetDlgItem(kPlay))
        play->setEnabled(true);
    if (!Recording())
        SetUsable(kPlay, true);
}

void CAudioRecorder::WriteDriverAudio(std::uint32_t count, const std::uint8_t* data)
{
    if (!Check(kRecord) || Check(kPause))
        return;
    if (engine_.WriteBytes(count, data) != 0) {
        std::fprintf(stderr, "recorder: writing the recording failed, it stops\n");
        ToggleRecording(false, {}, {}, false);
    }
}

void CAudioRecorder::OnTimerUpdate()
{
    if (Check(kPause)) {
        // A paused operation blinks its pause button once a second.
        pauseBright_ = !pauseBright_;
        if (auto* b = GetDlgItemAs<CFlatButton>(kPause))
            b->SetIcon(audio::GlyphPixmap(Glyph::Pause, true, pauseBright_),
                       audio::GlyphPixmap(Glyph::Pause, false));
        return;
    }
    if (engine_.State() == audio::WaveEngine::kIdle)
        return;
    if (auto* slider = GetDlgItemAs<CMySlider>(kSlider); slider && !slider->isSliderDown())
        slider->setValue(SliderValue(engine_.GetPositionBytes()));
    SetDlgItemText(kTime, engine_.GetPositionText());
}

void CAudioRecorder::SaveWindowPos()
{
    if (auto* recSql = GetDlgItemAs<QCheckBox>(kRecSql))
        ini_.WriteInt("AudioRecorder", "RecSQL", recSql->isChecked() ? 1 : 0);
    // Hidden, it keeps the place it had (a hide saves it); never shown, it has none yet.
    if (!placed_ || isMinimized() || isMaximized())
        return;
    const QRect r = frameGeometry();
    if (!registry_.WriteRect(settings::reg::AudioRecorderRect,
                             {r.top(), r.bottom() + 1, r.left(), r.right() + 1}))
        std::fprintf(stderr, "recorder place not saved: %s\n", registry_.LastError().c_str());
}

// ---- the buttons ----

int CAudioRecorder::PressRecord(bool down)
{
    if (Playing() || (engine_.DeviceOpen() && !Recording())) {
        SetCheck(kRecord, false);
        return kAlreadyRecording;
    }
    if (!down) {
        if (Recording())
            ToggleRecording(false, {}, {}, false);
        SetCheck(kRecord, false);
        return 0;
    }
    if (Recording()) {
        SetCheck(kRecord, true);
        return kAlreadyRecording;
    }
    fileName_ = audio::NormalizeFileField(GetDlgItemText(kFile));
    // "AUTO" stays in force: the name it gave last is replaced by a fresh one.
    if (audio::IsAutoName(fileName_) || fileName_ == lastAutoName_)
        fileName_ = NextRecordingName();
    else
        lastAutoName_.clear();
    const int result = ToggleRecording(true, fileName_, folder_, false);
    if (result != 0)
        SetCheck(kRecord, false);
    return result;
}

int CAudioRecorder::PressPause(bool down)
{
    if (engine_.State() == audio::WaveEngine::kIdle) {
        SetCheck(kPause, false);
        return 1;
    }
    SetPaused(down);
    return Check(kPause) == down ? 0 : 1;
}

int CAudioRecorder::PressPlay(bool down)
{
    if (Recording()) {
        SetCheck(kPlay, false);
        return kAlreadyPlaying;
    }
    if (!down) {
        TogglePlayback(std::nullopt, false, {}, {});
        return 0;
    }
    if (Playing() || engine_.DeviceOpen()) {
        SetCheck(kPlay, true);
        return kAlreadyPlaying;
    }
    std::string name = GetDlgItemText(kFile);
    if (name.empty() || audio::IsAutoName(name)) {
        const QString chosen = QFileDialog::getOpenFileName(
            this, {}, QString::fromStdString(audio::FolderOrProgramFolder(folder_)),
            QStringLiteral("Wave Files (*.wav *.WAV)"));
        if (chosen.isEmpty()) {
            SetCheck(kPlay, false);
            return 1;
        }
        const QFileInfo info(chosen);
        folder_ = info.absolutePath().toStdString() + "/";
        name = info.fileName().toStdString();
        SetDlgItemText(kFile, name);
    }
    // The bar's own Play: its choice becomes the bar's file.
    fileName_ = name;
    const int result = TogglePlayback(std::nullopt, true, fileName_, folder_);
    if (result != 0)
        SetCheck(kPlay, false);
    return result;
}

bool CAudioRecorder::OnCommand(int id, int code)
{
    if (code != ctl::kBnClicked)
        return CMyFontDialog::OnCommand(id, code);
    engine_.ClearProblem();
    switch (id) {
    case kRecord: ReportFailure(PressRecord(Check(kRecord))); return true;
    case kPause: PressPause(Check(kPause)); return true;
    case kPlay: ReportFailure(PressPlay(Check(kPlay))); return true;
    case kSettings:
        if (engine_.State() == audio::WaveEngine::kIdle && !engine_.DeviceOpen() && host_ != nullptr
            && host_->RunAudioSettings(this))
            LoadSettings();
        return true;
    default: return CMyFontDialog::OnCommand(id, code);
    }
}

void CAudioRecorder::ReportFailure(int result)
{
    // Busy and a cancelled file choice leave no problem: the button already shows them.
    if (result == 0 || engine_.LastProblem().empty())
        return;
    const CLanguage& language = framework::Language();
    language.ShowMessage(
        {audio::AudioErrorText(language, kMsgAudioError, result, engine_.LastProblem()), "",
         mb::kOk | mb::kIconError, 0});
}

// ---- messages ----

void CAudioRecorder::WindowProc(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam)
{
    const bool recSql = RecordsOnSquelch();
    switch (msg) {
    case msg::kSquelchClosed:
        if (recSql && Recording() && !Check(kPause))
            SetPaused(true);
        return;
    case msg::kSquelchOpened:
        if (recSql && Recording() && Check(kPause))
            SetPaused(false);
        return;
    case msg::kSliderClicked:
        if (Playing() && engine_.DeviceOpen())
            SetPaused(true);
        return;
    default: break;
    }
    switch (engine_.OnDeviceMessage(msg, wParam, lParam)) {
    case audio::WaveEngine::Event::PlaybackEnded: OnPlaybackEnded(); break;
    case audio::WaveEngine::Event::RecordingClosed:
        // A recording the engine ended itself (a failed write) shows as ended too.
        if (Check(kRecord))
            ToggleRecording(false, {}, {}, false);
        if (engine_.RecordingFailed())
            std::fprintf(stderr, "recorder: the recording could not be completed\n");
        break;
    case audio::WaveEngine::Event::OutputClosed: seeking_ = false; break;
    default: break;
    }
}

bool CAudioRecorder::RecordsOnSquelch() const
{
    const auto* box = GetDlgItemAs<QCheckBox>(kRecSql);
    return box != nullptr && box->isChecked();
}

void CAudioRecorder::UpdateSquelchWatch()
{
    if (host_ != nullptr)
        host_->WatchSquelch(Recording() && RecordsOnSquelch());
}

void CAudioRecorder::ShowIdle()
{
    SetUsable(kRecord, true);
    SetUsable(kSettings, true);
    SetCheck(kPlay, false);
    SetCheck(kPause, false);
    SetUsable(kPause, false);
    SetSlider(0, 0, 0);
    SetDlgItemText(kTime, kZeroTime);
}

void CAudioRecorder::OnPlaybackEnded()
{
    if (seeking_)
        return;
    ShowIdle();
    if (notifyRequested_) {
        notifyRequested_ = false;
        notifyWindow_.Post(msg::kPlaybackEnded, 0, 0);
    }
    PauseDriverAudio(false);
}

void CAudioRecorder::OnSliderReleased()
{
    auto* slider = GetDlgItemAs<CMySlider>(kSlider);
    if (slider == nullptr || !Playing() || !engine_.DeviceOpen())
        return;
    seeking_ = true;
    SetCheck(kPause, false);
    SetCheck(kPlay, true);
    const int result = engine_.SeekPlay(static_cast<std::uint32_t>(slider->value()));
    seeking_ = false;
    if (result != 0)
        OnPlaybackEnded();
}

void CAudioRecorder::OnFileFieldLeft()
{
    const std::string text = audio::NormalizeFileField(GetDlgItemText(kFile));
    SetDlgItemText(kFile, text);
}

// ---- the window ----

void CAudioRecorder::closeEvent(QCloseEvent* event)
{
    event->accept();
    StopAll();
    hide();
}

void CAudioRecorder::showEvent(QShowEvent* event)
{
    placed_ = true;
    CMyFontDialog::showEvent(event);
}

void CAudioRecorder::hideEvent(QHideEvent* event)
{
    SaveWindowPos();
    CMyFontDialog::hideEvent(event);
}

void CAudioRecorder::moveEvent(QMoveEvent* event)
{
    if (isVisible())
        SaveWindowPos();
    CMyFontDialog::moveEvent(event);
}

void CAudioRecorder::SetCheck(int id, bool on)
{
    if (auto* b = GetDlgItemAs<CFlatButton>(id))
        b->SetCheck(on ? 1 : 0);
}

bool CAudioRecorder::Check(int id) const
{
    const auto* b = GetDlgItemAs<CFlatButton>(id);
    return b != nullptr && b->GetCheck() != 0;
}

void CAudioRecorder::SetUsable(int id, bool on)
{
    if (auto* b = GetDlgItemAs<CFlatButton>(id))
        b->SetCursor(on ? res::kCursorAvailable : res::kCursorUnavailable);
}

void CAudioRecorder::SetSlider(std::int64_t min, std::int64_t max, std::int64_t pos)
{
    if (auto* slider = GetDlgItemAs<CMySlider>(kSlider)) {
        slider->setRange(SliderValue(min), SliderValue(max));
        slider->setValue(SliderValue(pos));
    }
}
