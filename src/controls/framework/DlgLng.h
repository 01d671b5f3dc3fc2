// CDlgLng: "Corvane - Select Language". Lists the valid language files of the program folder;
// "Ok" loads the selected one and stores it in Setup/"Language" (a file that does not load shows
// "Error in the language file.\n\nPlease try again." and the dialog stays open), "Abort" ends it
// with ctl::kIdCancel. Enter and Esc leave it open.
#pragma once

#include "LanguageChooser.h"
#include "MyFontDialog.h"

#include <string>

class CIni;
class CLanguage;

class CDlgLng : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 101;
    static constexpr int kIdcLanguage = 1000;  // the drop-down list
    static constexpr int kIdcOk = 1001;
    static constexpr int kIdcAbort = 1002;

    // `folder`: where the language files are (the program folder).
    CDlgLng(CLanguage& language, CIni& ini, std::string folder);

    // After "Ok": whether Setup/"Language" now names another file.
    bool LanguageChanged() const { return changed_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    bool OnCommand(int id, int code) override;

private:
    void Choose();

    LanguageChooser chooser_;
    bool changed_ = false;
};
