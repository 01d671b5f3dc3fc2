#include "AutoCQ.h"

#include "AudioErrorText.h"
#include "AudioRecorder.h"
#include "FrameworkContext.h"
#include "Ini.h"
#include "Language.h"
#include "MessageTarget.h"
#include "NumEdit.h"
#include "ToolTipLoc.h"
#include "WindowMessages.h"

#include <QPushButton>

#include <cstdio>

namespace {
using namespace tpl;

constexpr int kMsgRecordPhrase = 1284;
constexpr int kMsgAudioError = 1286;
constexpr int kMsgNoPhrase = 1288;
constexpr int kTextRecord = 1287;
constexpr int kTextTransmit = 1381;
constexpr int kTipRecord = 1280;
constexpr int kTipTransmit = 1281;
constexpr int kTipLoop = 1282;
constexpr int kTipPause = 1283;
constexpr int kTipStopRecording = 1285;
constexpr int kTipStopPlay = 1278;
// The recorder's answers for a phrase file that cannot be opened.
constexpr int kErrorNoFile = 11;
constexpr int kErrorNoFileToo = 1;
constexpr int kDefaultPauses[CAutoCQ::kPhrases] = {5, 10, 15, 20};

TemplateItem PhraseRow(int n)
{
    const int i = n - 1;
    return Row({Control(ctl::kIdStatic, "STATIC", std::to_string(n), kNoTranslate, 2),
                Control(CAutoCQ::kRecordFirst + i, "BUTTON", "Record", 0, 9),
                Control(CAutoCQ::kTransmitFirst + i, "BUTTON", "Transmit", 0, 9),
                Control(CAutoCQ::kLoopFirst + i, "BUTTON", "Loop", 0, 9),
                Control(CAutoCQ::kPauseFirst + i, "CNumEdit", "", 0, 5),
                Control(ctl::kIdStatic, "STATIC", "sec."), Stretch()});
}

const DialogTemplateRegistration kTemplate{
    DialogTemplate{CAutoCQ::kTemplateId, "Auto CQ",
                   Column({Row({Control(ctl::kIdStatic, "STATIC", "Phrase"), Stretch()}),
                           PhraseRow(1), PhraseRow(2), PhraseRow(3), PhraseRow(4), Stretch()})}};

// The phrase of a button id of the given column, 0 when it is not one.
int PhraseOf(int id, int first)
{
    return id >= first && id < first + CAutoCQ::kPhrases ? id - first + 1 : 0;
}

std::string PauseKey(int n)
{
    return "Pausa" + std::to_string(n);
}
}  // namespace

CAutoCQ::CAutoCQ(IKeyerHost& host, CIni& ini, std::string folder)
    : CTabPage(kTemplateId),
      host_(host),
      ini_(ini),
      folder_(std::move(folder)),
      target_(std::make_unique<platform::MessageTarget>(
          [this](unsigned msg, std::uintptr_t w, std::intptr_t l) { WindowProc(msg, w, l); }))
{
}

CAutoCQ::~CAutoCQ()
{
    Shutdown();
}

std::string CAutoCQ::PhraseFile(int n)
{
    return framework::Language().FormatText("Frase%d.wav", {n});
}

std::string CAutoCQ::Text(int stringId) const
{
    return framework::Language().LoadString(stringId);
}

bool CAutoCQ::OnInitDialog()
{
    for (int i = 0; i < kPhrases; ++i) {
        const struct {
            int id;
            int tip;
        } tips[] = {{kRecordFirst + i, kTipRecord},
                    {kTransmitFirst + i, kTipTransmit},
                    {kLoopFirst + i, kTipLoop},
                    {kPauseFirst + i, kTipPause}};
        for (const auto& t : tips)
            if (QWidget* w = GetDlgItem(t.id))
                ToolTips().AddToolId(w, t.tip);
        if (auto* loop = GetDlgItemAs<QPushButton>(kLoopFirst + i))
            loop->setCheckable(true);
        if (auto* pause = GetDlgItemAs<CNumEdit>(kPauseFirst + i)) {
            pause->SetFormat(0, '.');
            pause->SetValue(ini_.GetInt("AutoCQ", PauseKey(i + 1).c_str(), kDefaultPauses[i]));
        }
    }
    initialised_ = true;
    return CTabPage::OnInitDialog();
}

void CAutoCQ::SavePauses()
{
    if (!initialised_)
        return;
    for (int i = 0; i < kPhrases; ++i)
        if (auto* pause = GetDlgItemAs<CNumEdit>(kPauseFirst + i))
            if (!ini_.WriteInt("AutoCQ", PauseKey(i + 1).c_str(),
                               static_cast<int>(pause->GetValue())))
                std::fprintf(stderr, "voice keyer: pauses not saved: %s\n",
                             ini_.LastError().c_str());
}

void CAutoCQ::EnableRows(bool on)
{
    if (!initialised_)
        return;
    for (int first : {kRecordFirst, kTransmitFirst, kLoopFirst, kPauseFirst})
        for (int i = 0; i < kPhrases; ++i)
            if (QWidget* w = GetDlgItem(first + i))
                w->setEnabled(on);
}

void CAutoCQ::Shutdown()
{
    closing_ = true;
    if (!recording_ && !transmitting_ && !looping_)
        return;
    CAudioRecorder* bar = host_.Recorder();
    if (recording_ && bar != nullptr)
        bar->ToggleRecording(false, {}, {}, false);
    recording_ = false;
    if (transmitting_ || looping_) {
        transmitting_ = looping_ = false;
        Ptt(false);
        if (bar != nullptr) {
            bar->TogglePlayback(std::nullopt, false, {}, {});
            bar->Engine().HoldBusy(false);
        }
    }
}

void CAutoCQ::Ptt(bool on)
{
    if (host_.HasPttPort())
        host_.SetPtt(on);
    // Taken without a PTT port too: the loop's pause counts from here.
    if (!on)
        pttReleaseTick_ = host_.TickMs();
}

void CAutoCQ::SetButton(int id, const std::string& caption, int tipId)
{
    SetDlgItemText(id, caption);
    if (QWidget* w = GetDlgItem(id))
        ToolTips().AddToolId(w, tipId);
}

void CAutoCQ::SetLoopCheck(int id, bool on)
{
    if (auto* loop = GetDlgItemAs<QPushButton>(id))
        loop->setChecked(on);
}

// ---- the actions ----

void CAutoCQ::OnRecord(int n)
{
    CAudioRecorder* bar = host_.Recorder();
    const int id = kRecordFirst + n - 1;
    if (recording_) {
        if (bar != nullptr)
            bar->ToggleRecording(false, {}, {}, false);
        SetButton(id, Text(kTextRecord), kTipRecord);
        EnableRows(true);
        recording_ = false;
        return;
    }
    const CLanguage& language = framework::Language();
    if (language.ShowMessage(
            {language.Format(kMsgRecordPhrase, {n}), "", mb::kYesNo | mb::kIconQuestion, 0})
        != mb::kIdYes)
        return;
    EnableRows(false);
    SetButton(id, language.Translate("Stop"), kTipStopRecording);
    if (QWidget* w = GetDlgItem(id))
        w->setEnabled(true);
    recording_ = true;
    const int error =
        bar != nullptr ? bar->ToggleRecording(true, PhraseFile(n), folder_, false) : kErrorNoFile;
    if (error == 0)
        return;
    const std::string problem = bar != nullptr ? bar->Engine().LastProblem() : std::string();
    language.ShowMessage(
        {audio::AudioErrorText(language, kMsgAudioError, error, problem), "", mb::kIconError, 0});
    SetButton(id, Text(kTextRecord), kTipRecord);
    EnableRows(true);
    recording_ = false;
}

int CAutoCQ::PlayPhrase()
{
    CAudioRecorder* bar = host_.Recorder();
    if (bar == nullptr)
        return kErrorNoFile;
    return bar->TogglePlayback(target_->Poster(), true, PhraseFile(currentPhrase_), folder_);
}

void CAutoCQ::ShowPlayError(int error) const
{
    const CLanguage& language = framework::Language();
    const bool missing = error == kErrorNoFile || error == kErrorNoFileToo;
    CAudioRecorder* bar = host_.Recorder();
    const std::string problem = bar != nullptr ? bar->Engine().LastProblem() : std::string();
    language.ShowMessage({missing ? language.Format(kMsgNoPhrase, {currentPhrase_})
                                  : audio::AudioErrorText(language, kMsgAudioError, error, problem),
                          "", mb::kIconError, 0});
}

void CAutoCQ::OnTransmit(int n)
{
    const int id = kTransmitFirst + n - 1;
    if (transmitting_) {
        Ptt(false);
        transmitting_ = false;
        if (CAudioRecorder* bar = host_.Recorder())
            bar->TogglePlayback(std::nullopt, false, {}, {});
        SetButton(id, Text(kTextTransmit), kTipTransmit);
        EnableRows(true);
        return;
    }
    EnableRows(false);
    SetButton(id, framework::Language().Translate("Stop"), kTipStopPlay);
    if (QWidget* w = GetDlgItem(id))
        w->setEnabled(true);
    currentPhrase_ = n;
    currentButton_ = id;
    Ptt(true);
    transmitting_ = true;
    const int error = PlayPhrase();
    if (error == 0)
        return;
    Ptt(false);
    ShowPlayError(error);
    SetButton(id, Text(kTextTransmit), kTipTransmit);
    EnableRows(true);
    transmitting_ = false;
}

int CAutoCQ::OnLoop(int n, bool on)
{
    const int id = kLoopFirst + n - 1;
    if (!on) {
        if (looping_)
            EndLoop();
        return 0;
    }
    if (looping_)
        return 0;
    EnableRows(false);
    SetButton(id, framework::Language().Translate("Stop"), kTipStopPlay);
    if (QWidget* w = GetDlgItem(id))
        w->setEnabled(true);
    currentButton_ = id;
    currentPhrase_ = n;
    const auto* pause = GetDlgItemAs<CNumEdit>(kPauseFirst + n - 1);
    const double seconds = pause != nullptr ? pause->GetValue() : 0.0;
    // A pause past a day is taken as a day: the value comes from a typed field.
    loopPauseMs_ = seconds <= 0       ? 0
                   : seconds >= 86400 ? 86400000
                                      : static_cast<int>(seconds * 1000);
    Ptt(true);
    looping_ = true;
    const int error = PlayPhrase();
    if (error == 0)
        return 0;
    Ptt(false);
    ShowPlayError(error);
    SetButton(id, framework::Language().Translate("Loop"), kTipLoop);
    EnableRows(true);
    looping_ = false;
    return 1;
}

int CAutoCQ::ContinueLoop()
{
    CAudioRecorder* bar = host_.Recorder();
    if (bar == nullptr)
        return 1;
    // Busy during the pause: the bar refuses to record or play meanwhile.
    bar->Engine().HoldBusy(true);
    Ptt(false);
    const std::uint64_t since = host_.TickMs() - pttReleaseTick_;
    if (since < static_cast<std::uint64_t>(loopPauseMs_))
        host_.Wait(static_cast<int>(loopPauseMs_ - since));
    // Stopped meanwhile, or the program closes: the transmitter stays released.
    if (!looping_ || closing_) {
        bar->Engine().HoldBusy(false);
        return 0;
    }
    Ptt(true);
    bar->Engine().HoldBusy(false);
    const int error = PlayPhrase();
    if (error == 0)
        return 0;
    Ptt(false);
    ShowPlayError(error);
    SetButton(currentButton_, framework::Language().Translate("Loop"), kTipLoop);
    SetLoopCheck(currentButton_, false);
    EnableRows(true);
    looping_ = false;
    return 1;
}

void CAutoCQ::EndLoop()
{
    Ptt(false);
    looping_ = false;
    if (CAudioRecorder* bar = host_.Recorder()) {
        bar->TogglePlayback(std::nullopt, false, {}, {});
        bar->Engine().HoldBusy(false);
    }
    SetButton(currentButton_, framework::Language().Translate("Loop"), kTipLoop);
    EnableRows(true);
}

// ---- messages ----

void CAutoCQ::WindowProc(unsigned msg, std::uintptr_t, std::intptr_t)
{
    if (msg != msg::kPlaybackEnded || closing_)
        return;
    if (transmitting_)
        OnTransmit(currentPhrase_);
    else if (looping_)
        ContinueLoop();
}

bool CAutoCQ::OnCommand(int id, int code)
{
    if (code != ctl::kBnClicked)
        return CTabPage::OnCommand(id, code);
    if (const int n = PhraseOf(id, kRecordFirst)) {
        OnRecord(n);
        return true;
    }
    if (const int n = PhraseOf(id, kTransmitFirst)) {
        OnTransmit(n);
        return true;
    }
    if (const int n = PhraseOf(id, kLoopFirst)) {
        const auto* loop = GetDlgItemAs<QPushButton>(id);
        if (OnLoop(n, loop != nullptr && loop->isChecked()) != 0)
            SetLoopCheck(id, false);
        return true;
    }
    return CTabPage::OnCommand(id, code);
}
