// The progress window of long radio work (the link's first contact, the state snapshot, the
// memory transfers and scans to come): a modeless progress dialog over the main window, opened
// with a text and a number of steps, stepped, closed.
#pragma once

#include "WorkProgress.h"

#include <memory>
#include <string>

class CLanguage;
class CWorkProgressDlg;
class QWidget;

class CWindowProgress : public radio::IWorkProgress {
public:
    // Both must outlive the progress.
    CWindowProgress(QWidget& owner, const CLanguage& language);
    ~CWindowProgress() override;
    CWindowProgress(const CWindowProgress&) = delete;
    CWindowProgress& operator=(const CWindowProgress&) = delete;

    // A dialog still open is closed first. Without a window the steps do nothing.
    void Open(const std::string& text, int steps);
    void Step();
    bool Cancelled();
    void Close();

    // radio::IWorkProgress: the text by language string id.
    void OpenProgress(int textId, int steps) override;
    void StepProgress() override { Step(); }
    void CloseProgress() override { Close(); }
    bool ProgressCancelled() override { return Cancelled(); }

private:
    QWidget& owner_;
    const CLanguage& language_;
    std::unique_ptr<CWorkProgressDlg> dialog_;
    int position_ = 0;
};
