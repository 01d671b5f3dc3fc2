// CSkedRicorsivo (dialog 283, "Generate recur sked"): copies of the sked on the skeds page every
// N days up to an end date, on the ticked weekdays. A copy takes the place of every sked at its
// minute; the run is refused whole, before anything changes, when it would make too many.
#pragma once

#include "MyFontDialog.h"
#include "SkedLine.h"

#include <string>

class CLanguage;
namespace lists {
class SkedList;
}
namespace radio {
class IWorkProgress;
}

class CSkedRicorsivo : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 283;
    static constexpr int kEndDate = 1248;
    static constexpr int kInterval = 1249;
    static constexpr int kSunday = 1209;  // to 1215, Saturday

    // The sked's key gives the first date and the minute; all outlive the dialog.
    CSkedRicorsivo(lists::SkedLine sked, lists::SkedList& list, radio::IWorkProgress& progress,
                   const CLanguage& language);
    // After OK: the index of the last copy in the list.
    int LastIndex() const { return last_; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void Refuse(const std::string& text, int focus);

    lists::SkedLine sked_;
    lists::SkedList& list_;
    radio::IWorkProgress& progress_;
    const CLanguage& language_;
    int last_ = -1;
};
