#include "PrintDialog.h"

#include "FrameworkContext.h"
#include "Language.h"
#include "MessageBoxRequest.h"
#include "StringTable.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <map>

namespace {

// What the user chose in this run of the program.
struct Choices {
    std::map<std::string, QString> files;  // by output name
    QString folder;                        // of the last file chosen
    bool lastToFile = false;
};

Choices& Chosen()
{
    static Choices choices;
    return choices;
}

QString OfferedFile(const std::string& outputName)
{
    const Choices& chosen = Chosen();
    if (auto it = chosen.files.find(outputName); it != chosen.files.end())
        return it->second;
    const QString folder = chosen.folder.isEmpty() ? QDir::homePath() : chosen.folder;
    return QDir(folder).filePath(QString::fromStdString(outputName) + QStringLiteral(".pdf"));
}

}  // namespace

bool AskForPrinter(QPrinter& printer, const std::string& outputName)
{
    // A file is offered where it is the likely choice; otherwise the dialog keeps its printer.
    Choices& chosen = Chosen();
    if (chosen.lastToFile || QPrinterInfo::availablePrinters().isEmpty())
        printer.setOutputFileName(OfferedFile(outputName));
    // Without a parent: a window closed while the dialog runs must not delete it under its exec.
    QPrintDialog dialog(&printer);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QString file = printer.outputFileName();
    chosen.lastToFile = printer.outputFormat() == QPrinter::PdfFormat && !file.isEmpty();
    if (chosen.lastToFile) {
        chosen.files[outputName] = file;
        chosen.folder = QFileInfo(file).absolutePath();
    }
    return true;
}

std::string PrintTarget(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return printer.outputFileName().toStdString();
    return printer.printerName().toStdString();
}

void ReportPrintFailure(const QPrinter& printer)
{
    const CLanguage& language = framework::Language();
    language.ShowMessage({language.FormatString1(strid::kPrintFailed, PrintTarget(printer)),
                          language.LoadString(strid::kCaptionError), mb::kOk | mb::kIconError, 0});
}
