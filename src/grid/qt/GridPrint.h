// Printing a grid on a QPrinter (a real printer or a PDF file): the core lays out the pages and
// draws each one in page coordinates; this side scales them onto the printable area.
#pragma once

#include <vector>

#include <QPixmap>
#include <QString>

class CDataGrid;
class QPrinter;

// Prints every page; false when nothing could be printed or the printer failed (the job is then
// aborted, never reported as done).
bool PrintGrid(CDataGrid& grid, QPrinter& printer, const QString& docName,
               const std::vector<QPixmap>* images = nullptr);
