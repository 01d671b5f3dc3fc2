// CAboutBox (page 150, "Info") and CAboutDlg (dialog 100): the same texts and links, as a page
// of the main window and as a modal dialog opened from the window's context menu.
#pragma once

#include "TabPage.h"

#include <functional>
#include <string>

class CIni;

namespace about {
// What both show: the display name (translated there), the version and Setup/"Beta".
struct AboutFacts {
    std::string name;
    std::string version;
    int beta = 0;
};
}  // namespace about

class CAboutBox : public CTabPage {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 150;
    static constexpr int kProgramLine = 1096;
    static constexpr int kNotice = 1097;
    static constexpr int kMail = 1098;
    static constexpr int kWeb = 1100;
    static constexpr int kUsage = 1101;
    static constexpr int kForum = 1102;

    // The settings outlive the page. The facts are asked for as the page is built: the page may
    // be made before the version is known.
    CAboutBox(CIni& ini, std::function<about::AboutFacts()> facts);

    // Control 1101 from CurrentSet/"Vita".
    void ShowUsageTime();

protected:
    bool OnInitDialog() override;
    int HelpTopic() const override { return 100; }

private:
    CIni& ini_;
    std::function<about::AboutFacts()> facts_;
};

class CAboutDlg : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 100;

    // The caption is the main window's title at the time.
    CAboutDlg(CIni& ini, about::AboutFacts facts, std::string caption);

protected:
    bool OnInitDialog() override;
    void OnHelp() override {}

private:
    CIni& ini_;
    about::AboutFacts facts_;
    std::string caption_;
};
