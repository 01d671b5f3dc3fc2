// Prints one text report: the print dialog, then the report's lines through CPrinter, with the
// progress dialog and its abort question for the long lists.
#pragma once

#include "TextReports.h"

#include <functional>
#include <string>

class CLanguage;
class QPrinter;
class QWidget;

namespace reports {

// Sets up the printer (the print dialog); false for anything but OK.
using PrinterChooser = std::function<bool(QPrinter&)>;
// The report for a page of n characters.
using ReportBuilder = std::function<ReportText(int n)>;

struct ReportJob {
    std::string title;      // every page's title: the main window's
    std::string docName;    // the document's name: the program's
    int progressTitle = 0;  // language string of the progress dialog; 0 for none
};

// False when nothing was printed: the dialog was cancelled, or the printer could not be drawn
// on (the user is told). A print stopped by the user keeps and ends the pages printed so far.
bool PrintReport(const PrinterChooser& choose, const ReportJob& job, const ReportBuilder& build,
                 const CLanguage& language, QWidget* owner);

}  // namespace reports
