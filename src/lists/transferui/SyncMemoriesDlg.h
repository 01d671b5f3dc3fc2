// CSincronizzaMem (dialog 305): synchronises a range of the radio's memory channels with the
// radio memory list file, each channel one way or the other as the user chooses; after a CSV
// import it pushes the program's list to the radio.
#pragma once

#include "MyFontDialog.h"

#include <string>

class IMainWindowServices;

class CSincronizzaMem : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 305;
    enum Control : int {
        kFirst = 1181,
        kLast = 1104,
        kWhenBoth = 1291,
        kClearRadioWhenBlank = 1314,
        kRemoveEntryWhenBlank = 1315,
        kUsePtt = 1189,
        kWarning = 1190,
        kStart = 1057,
    };

    // The services must outlive the dialog; path: the radio memory list file.
    CSincronizzaMem(IMainWindowServices& services, std::string path, bool afterImport);

    // Start with the range checked: runs the synchronisation and closes with OK. Public so a
    // caller can run it without showing the dialog.
    void OnStart();

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override {}

private:
    bool Checked(int id) const;
    void SetChecked(int id, bool on);
    int NumberOf(int id) const;
    int WhenBoth() const;
    void Refuse(int stringId);
    void Synchronise();

    IMainWindowServices& services_;
    std::string path_;
    bool afterImport_;
};
