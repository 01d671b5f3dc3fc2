// Printing a memory list window's grid: the title names the main window, the footer numbers the
// pages, and the file offered for a print to a file is named after the list (its file's stem).
#pragma once

#include <string>

class CGridWidget;
class IMainWindowServices;
class QString;

void PrintMemoryList(IMainWindowServices& services, CGridWidget& grid, const QString& caption,
                     const std::string& listFile);
