#include "PrintDialog.h"

#include <QPrintDialog>
#include <QPrinter>

bool AskForPrinter(QPrinter& printer)
{
    // Without a parent: a window closed while the dialog runs must not delete it under its exec.
    QPrintDialog dialog(&printer);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}
