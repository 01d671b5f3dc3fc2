// CListe (dialog 307 "Select"): a list of the values a coded cell takes. A double click or OK
// picks the entry.
#pragma once

#include "MyFontDialog.h"

#include <string>
#include <vector>

class CListe : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 307;
    static constexpr int kList = 1210;

    CListe(std::vector<std::string> choices, std::string current);
    // After OK: the entry picked.
    const std::string& Choice() const { return choice_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override;

private:
    std::vector<std::string> choices_;
    std::string choice_;
};
