// CTxRx (dialog 249): the small transmit panel beside the main window. It shows what its part
// tells it (the PTT state, the times, the key name) and hands the clicks to the part; the
// keying, counting and tuning are the part's. Closing it only hides it.
#pragma once

#include "MyFontDialog.h"

#include <string>

// What the window's buttons ask for.
class ITxRxActions {
public:
    virtual ~ITxRxActions() = default;
    virtual void OnPttButton(bool down) = 0;
    // Returns the tune button's state afterwards.
    virtual bool OnTuneButton(bool down) = 0;
    virtual void OnResetButton() = 0;
    virtual void OnSetupButton() = 0;
    // Hidden, or moved while shown: its place is kept.
    virtual void OnPlaceChanged() = 0;
};

class CTxRx : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 249;
    enum Control : int {
        kTotalTime = 1104,
        kReset = 1113,
        kPartialTime = 1216,
        kKeyName = 1217,
        kSetup = 1026,
        kTune = 1027,
        kPtt = 1038,
    };

    // The actions must outlive the window or Detach it first.
    explicit CTxRx(ITxRxActions& actions);
    void Detach() { actions_ = nullptr; }

    // The button down while transmitting; its blink starts over.
    void ShowPtt(bool on);
    bool PttDown() const;
    // Once a second while keyed: the other of the two keyed images.
    void BlinkPttButton();
    void ShowTimes(const std::string& partial, const std::string& total);
    void ShowPttKey(const std::string& text);

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    // Enter and Esc do nothing here.
    void OnOK() override {}
    void OnCancel() override {}
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void SetCheck(int id, bool on);
    bool Check(int id) const;

    ITxRxActions* actions_;
    bool blinkBright_ = false;
};
