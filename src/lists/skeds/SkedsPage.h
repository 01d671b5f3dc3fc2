// CSkeds: the skeds page of the main window. It keeps the list of skeds ("Skeds.Dat" in the
// program folder), edits one sked at a time, and fires the sked of a minute when the timer
// finds one due: a 30-second warning the user can abort, then the radio is tuned to the sked.
#pragma once

#include "SkedLine.h"
#include "SkedList.h"
#include "ListPageTools.h"
#include "TabPage.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

class IMainWindowServices;
namespace mainwnd {
class IClock;
}

class CSkeds : public CTabPage {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 227;
    // Controls.
    static constexpr int kList = 1150;
    static constexpr int kDescription = 1153;
    static constexpr int kTime = 1148;
    static constexpr int kDate = 1146;
    static constexpr int kFrequencyA = 1031;
    static constexpr int kFrequencyB = 1032;
    static constexpr int kModeA = 1154;
    static constexpr int kModeB = 1155;
    static constexpr int kFilterA = 1156;
    static constexpr int kFilterB = 1157;
    static constexpr int kSplit = 1040;
    static constexpr int kActiveVfo = 1029;
    static constexpr int kAutoDeleteOld = 1210;
    static constexpr int kDelete = 1151;
    static constexpr int kNew = 1152;
    static constexpr int kSave = 1159;
    static constexpr int kDeleteSkeds = 1113;
    static constexpr int kCreateRecur = 1114;

    // The services and the clock outlive the page.
    CSkeds(IMainWindowServices& services, const mainwnd::IClock& clock, std::string path);

    void LoadSkeds();
    // Writes the file (when the list changed) and the page's settings; false (message 136
    // shown) when a change was not saved.
    bool SaveSkeds();
    const lists::SkedList& Skeds() const { return list_; }
    int Selected() const { return selected_; }

    // The timer's check: the sked of `key` (twelve digits) fires once for each minute value.
    // A sked due while another counts down or while a long radio operation runs fires after it.
    void CheckDueSked(int minute, const std::string& key);
    // Fires the skeds that came due while the radio was busy, when it no longer is.
    void FirePending();
    // The start-up has read the radio: skeds due since may fire.
    void OnStarted();
    // The program closes: a countdown ends without tuning the radio.
    void EndCountdown() { closing_ = true; }
    // The wait between two countdown steps (a second).
    void SetCountdownStep(int ms) { stepMs_ = ms; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void showEvent(QShowEvent* event) override;

private:
    void OnSave();
    void OnDelete();
    void OnNew();
    void OnCreateRecurring();
    void OnDeleteSkeds();
    // The sked the fields show, or nothing when it may not be stored (the refusal shown).
    std::optional<lists::SkedLine> CheckedSked();
    void OnSelectSked();
    void SetNow();
    // The time and date fields as they show.
    std::string ShownMinute() const;
    void FillModeCombos();
    void FillList();
    void Select(int index);
    void ShowSelectedSked();
    void ShowSked(const lists::SkedLine& sked);
    lists::SkedLine SkedFromControls() const;
    // True when the channel may not go to the radio; the refusal is shown, its field focused.
    bool RefuseOutOfLimits(const lists::ChannelTuning& channel);
    void Fire(const lists::SkedLine& sked);
    void ApplySked(const lists::SkedLine& sked);
    bool Ask(int id);
    void Focus(int id);

    // None yet: a sked of the minute the program starts in fires too.
    static constexpr int kNoMinute = -2;

    IMainWindowServices& services_;
    const mainwnd::IClock& clock_;
    std::string path_;
    lists::SkedList list_;
    int selected_ = -1;
    int lastMinute_ = kNoMinute;  // the last minute value the timer gave
    std::vector<std::string> modesCopied_;
    std::deque<lists::SkedLine> pending_;
    std::string nowShown_;  // what SetNow put in the time and date fields, untouched since
    bool started_ = false;
    bool closing_ = false;
    lists::CListFileState file_;
    int stepMs_ = 1000;
};
