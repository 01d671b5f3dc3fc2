// CLeggiMem (dialog 238): the range of radio memories a read takes and how it finds the duplex:
// a direction chosen by hand, or measured by keying the transmitter for a moment.
#pragma once

#include "MyFontDialog.h"

class CIni;

class CLeggiMem : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 238;
    enum Control : int {
        kFirst = 1181,
        kLast = 1104,
        kDupPlus = 1049,
        kDupMinus = 1051,
        kUsePtt = 1189,
        kDefaultText = 1190,
        kWarning = 1191,
    };

    // canKey: the main window has a way to key the transmitter. The settings must outlive it.
    CLeggiMem(CIni& ini, bool canKey);

    // After Read; both 0 after Cancel.
    int First() const { return first_; }
    int Last() const { return last_; }
    bool DupPlus() const { return dupPlus_; }
    bool DupMinus() const { return dupMinus_; }
    bool UsePtt() const { return usePtt_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void FollowPttCheck();
    bool Checked(int id) const;
    int NumberOf(int id) const;
    void Refuse(int stringId);

    CIni& ini_;
    bool canKey_;
    int first_ = 0;
    int last_ = 0;
    bool dupPlus_ = false;
    bool dupMinus_ = false;
    bool usePtt_ = false;
};
