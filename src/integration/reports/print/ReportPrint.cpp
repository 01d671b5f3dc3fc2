#include "ReportPrint.h"

#include "Language.h"
#include "MessageBoxRequest.h"
#include "PrintDialog.h"
#include "Printer.h"
#include "WorkProgressDlg.h"

#include <QPrinter>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace reports {

namespace {

constexpr int kMsgAbort = 1124;

// The progress dialog and its question; without a title it shows nothing and never stops.
class Progress {
public:
    Progress(const CLanguage& language, int titleId, std::size_t count, QWidget* owner)
        : language_(language)
    {
        if (titleId == 0 || count == 0)
            return;
        dialog_ = std::make_unique<CWorkProgressDlg>();
        if (!dialog_->Create(owner)) {
            std::fprintf(stderr, "report: the progress window could not be opened\n");
            dialog_.reset();
            return;
        }
        dialog_->SetStatus(language.LoadString(titleId));
        dialog_->SetRange(0, static_cast<int>(count) - 1);
        dialog_->SetStep(1);
    }
    ~Progress()
    {
        if (dialog_)
            dialog_->DestroyWindow();
    }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // False when the user chose to stop.
    bool Step(std::size_t index)
    {
        if (!dialog_)
            return true;
        dialog_->SetPos(static_cast<int>(index));
        if (!dialog_->CheckCancelButton())
            return true;
        return language_.MessageBox(kMsgAbort, mb::kYesNo | mb::kIconExclamation | mb::kDefButton2)
               != mb::kIdYes;
    }

private:
    const CLanguage& language_;
    std::unique_ptr<CWorkProgressDlg> dialog_;
};

}  // namespace

bool PrintReport(const PrinterChooser& choose, const ReportJob& job, const ReportBuilder& build,
                 const CLanguage& language, QWidget* owner)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!choose || !choose(printer))
        return false;
    CPrinter lines(printer);
    lines.SetTitle(job.title);
    if (!lines.StartPrinting(job.docName)) {
        ReportPrintFailure(printer);
        return false;
    }
    const ReportText report = build(lines.GetCharsPerLine());
    const std::size_t headers = std::min(report.headers.size(), CPrinter::kHeaderCount);
    for (std::size_t i = 0; i < headers; ++i)
        lines.SetHeader(i, report.headers[i]);
    Progress progress(language, job.progressTitle, report.entries.size(), owner);
    for (std::size_t i = 0; i < report.entries.size(); ++i) {
        if (!progress.Step(i))
            break;
        for (const std::string& line : report.entries[i])
            lines.PrintLine(line);
    }
    lines.EndPrinting();
    return true;
}

}  // namespace reports
