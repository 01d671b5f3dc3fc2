// CDlgNomeGruppo (dialog 271 "Group Memories"): asks for the name of a memory group.
#pragma once

#include "MyFontDialog.h"

#include <string>

class CDlgNomeGruppo : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 271;
    static constexpr int kPrompt = 1207;
    static constexpr int kName = 1206;

    explicit CDlgNomeGruppo(std::string prompt, std::string name = {});

    // The name typed, after OK.
    const std::string& Name() const { return name_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    std::string prompt_;
    std::string name_;
};
