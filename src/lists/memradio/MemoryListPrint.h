// Printing a memory list window's grid: the title names the main window, the footer numbers the
// pages; without a printer the list goes to a PDF file beside the list file and the user is told
// where.
#pragma once

#include <string>

class CDataGrid;
class CGridWidget;
class IMainWindowServices;
class QString;

// The rows as pages of a PDF file; false when nothing was written.
bool PrintMemoryListToPdf(IMainWindowServices& services, CDataGrid& grid, const QString& caption,
                          const std::string& file);
// To the printer, or to `pdfFallback` when none is installed.
void PrintMemoryList(IMainWindowServices& services, CGridWidget& grid, const QString& caption,
                     const std::string& pdfFallback);
