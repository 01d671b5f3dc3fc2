// CManualInput (dialog 292): typing a value by hand, with buttons for the lower limit, the upper
// limit and their mean. The caller passes the value, the limits as texts ("30000 Hz": the number
// before the last blank) and the number of decimals, and reads Result() after OK.
#pragma once

#include "MyFontDialog.h"

#include <string>

class CManualInput : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 292;
    static constexpr int kValue = 1103;
    static constexpr int kHidden = 1104;
    static constexpr int kRange = 1050;
    static constexpr int kLowerButton = 1315;
    static constexpr int kUpperButton = 1316;
    static constexpr int kMeanButton = 1317;

    CManualInput();

    void SetValue(double value) { value_ = value; }
    // Both texts must be given for the limits to show.
    void SetLimits(const std::string& lowerText, const std::string& upperText);
    void SetDecimals(int decimals) { decimals_ = decimals; }
    double Result() const { return result_; }

    // The number a limit text holds: the text before its last blank, or the whole text.
    static double LimitValue(const std::string& text);

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;

private:
    std::string Formatted(double value) const;

    double value_ = 0;
    std::string lowerText_;
    std::string upperText_;
    int decimals_ = 0;
    double lower_ = 0;
    double upper_ = 0;
    double result_ = 0;
    bool hasLimits_ = false;
};
