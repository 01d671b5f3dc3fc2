// CLimiti (dialog 153, "Corvane - Band and mode limits"): edits the limits of the 13 band rows
// and the radio's general coverage. The logic lives in bands::CLimitsEditor; this dialog moves
// values between its fields and the editor and asks its questions.
#pragma once

#include "BandLimits.h"
#include "MyFontDialog.h"

#include <cstdint>
#include <memory>

class CIni;

// What the dialog needs from the main window.
class ILimitsHost {
public:
    virtual ~ILimitsHost() = default;
    // The radio's limits in force.
    virtual int64_t RadioLowerLimit() const = 0;
    virtual int64_t RadioUpperLimit() const = 0;
    // Command 02 (band edges). The parser stores the answer in Setup; the host waits for it
    // (pumping messages), so the dialog shows the radio's answer rather than the one before.
    virtual void RequestBandEdges() = 0;
    // Commands 03 and 04.
    virtual void ReadFrequencyMode() = 0;
};

class CLimiti : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 153;
    static constexpr int kRestoreDefault = 3;

    // The table, the store and the host outlive the dialog.
    CLimiti(bands::CBandTable& table, CIni& ini, ILimitsHost& host);
    ~CLimiti() override;

    // The editor while the dialog is open (null before).
    const bands::CLimitsEditor* Editor() const { return editor_.get(); }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(int id, int code) override;

private:
    void ShowRadioLimits();
    void ShowBand(int row);
    void SelectListRow(int row);
    bands::LimitFields ReadFields() const;
    double Field(int id) const;
    void SetField(int id, double value);
    // Message 1094 and the focus on the field to blame.
    void Refuse(int field);
    void OnBandChanged();
    void OnReadFromRadio();
    void OnRestoreDefault();

    bands::CBandTable& table_;
    CIni& ini_;
    ILimitsHost& host_;
    std::unique_ptr<bands::CLimitsEditor> editor_;
    bool selecting_ = false;
};
