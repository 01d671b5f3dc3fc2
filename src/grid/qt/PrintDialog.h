// The one print dialog of the program: a printer, or a PDF file, for the whole document (no page
// range, no selection). A print to a file is offered under the name of what it prints, in the
// folder last chosen; the file last chosen for that name is offered again.
#pragma once

#include <string>

class QPrinter;

// Runs the dialog on the printer; true when the user chose to print. `outputName` is what the
// print holds ("Split", a memory group): the file offered is "<outputName>.pdf".
bool AskForPrinter(QPrinter& printer, const std::string& outputName);

// Where a print went: the file, or the printer's name.
std::string PrintTarget(const QPrinter& printer);

// Tells the user that a print could not be made, naming where it was to go.
void ReportPrintFailure(const QPrinter& printer);
