// The one print dialog of the program: a printer, or a PDF file, for the whole document (no page
// range, no selection).
#pragma once

class QPrinter;

// Runs the dialog on the printer; true when the user chose to print.
bool AskForPrinter(QPrinter& printer);
