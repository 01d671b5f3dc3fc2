// CSkedsCancella (dialog 284, "Delete Skeds"): removes from the skeds page's list every sked
// from one minute to another, both included. A bound that is incomplete or names no minute
// deletes nothing; a sked whose key names no minute is kept.
#pragma once

#include "MyFontDialog.h"

#include <ctime>
#include <optional>
#include <string>

class CLanguage;
namespace lists {
class SkedList;
}
namespace radio {
class IWorkProgress;
}

class CSkedsCancella : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 284;
    static constexpr int kFromDate = 1146;
    static constexpr int kToDate = 1147;
    static constexpr int kFromTime = 1148;
    static constexpr int kToTime = 1149;
    static constexpr int kProceed = 1113;

    // `nowUtc` is the "to" bound shown first; all outlive the dialog.
    CSkedsCancella(lists::SkedList& list, radio::IWorkProgress& progress, const CLanguage& language,
                   const std::tm& nowUtc);
    // After OK: how many skeds went.
    std::size_t Removed() const { return removed_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override {}

private:
    void OnProceed();
    // The key of a bound, or nothing (the refusal shown, its field focused).
    std::optional<std::string> BoundKey(int dateId, int timeId);
    std::string BoundText(int dateId, int timeId) const;

    lists::SkedList& list_;
    radio::IWorkProgress& progress_;
    const CLanguage& language_;
    std::tm nowUtc_;
    std::size_t removed_ = 0;
};
