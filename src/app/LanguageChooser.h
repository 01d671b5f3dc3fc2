// What the language dialog (CDlgLng) decides, without its window: the list it shows, what "Ok"
// and "Abort" mean, and the start-up load of the configured language.
//
// Choosing the language that is already set is a choice like any other (it is not "Abort",
// which at start-up ends the program). A choice that cannot be loaded keeps the dialog open and
// the table in force.
#pragma once

#include "Ini.h"
#include "Language.h"

#include <string>
#include <vector>

class LanguageChooser {
public:
    // "Error in the language file.\n\nPlease try again."
    static const char* const kLoadErrorText;

    enum class Outcome {
        StayOpen,  // show `message` (error icon) and keep the dialog open
        Chosen,    // end the dialog with OK
        Aborted,   // end the dialog with Cancel
    };

    struct Decision {
        Outcome outcome = Outcome::StayOpen;
        std::string message;       // translated text for the box (StayOpen), or a warning
        bool changed = false;      // Setup/"Language" now names another file
        bool settingSaved = true;  // false when writing Setup/"Language" failed
    };

    // `folder` is the program folder, where the language files live.
    LanguageChooser(CLanguage& language, CIni& ini, std::string folder);

    // Lists the valid language files; the names to show, sorted, the first to be selected.
    const std::vector<std::string>& Refresh();
    const std::vector<std::string>& Names() const { return names_; }

    // "Ok" with the entry at `index` selected (-1 = none).
    Decision Choose(int index);
    // "Abort".
    static Decision Abort() { return {Outcome::Aborted, {}, false, true}; }

    // Start-up: loads the file named by Setup/"Language" from the program folder. False when the
    // setting is empty, is no plain file name, or the file does not load: the dialog is needed.
    static bool LoadConfigured(CLanguage& language, const CIni& ini, const std::string& folder);

private:
    CLanguage& language_;
    CIni& ini_;
    std::string folder_;
    std::vector<std::string> names_;
    std::vector<std::string> paths_;  // same order as names_
};
