// Printing the grid to a PDF file through QPrinter and reading the pages back with pdftotext.
#include <QPrinter>
#include <QProcess>
#include <QTimer>

#include <filesystem>

#include "GridPrint.h"
#include "TempDir.h"
#include "widget_support.h"

using testing_support::TempDir;

namespace {

std::string PdfText(const std::string& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
            {QStringLiteral("-layout"), QString::fromStdString(pdf), QStringLiteral("-")});
    if (!p.waitForFinished(60000))
        return {};
    return p.readAllStandardOutput().toStdString();
}

std::vector<std::string> Pages(const std::string& text)
{
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (std::size_t ff; (ff = text.find('\f', start)) != std::string::npos; start = ff + 1)
        pages.push_back(text.substr(start, ff - start));
    return pages;
}

void PdfPrinter(QPrinter& printer, const std::string& file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(file));
    printer.setPageSize(QPageSize(QPageSize::A4));
}

}  // namespace

TEST(GridWidgetPrint, APdfHoldsTitleCellsAndFooterOnEveryPage)
{
    TempDir dir;
    ShownGrid s(150, 5);
    CDataGrid& g = s.grid();
    g.SetColumnWidth(1, 120);
    g.SetColumnWidth(3, 150);
    g.SetItemText(0, 1, "Frequency");
    g.SetItemText(0, 2, "Mode");
    g.SetItemText(75, 1, "145.500.000");
    g.SetItemText(75, 3, "Calling channel");
    g.SetPrintTitle("PC Memories");
    g.SetPrintFooterFormat("Page %d of %d %s");  // a stray %s is printed as it stands

    QPrinter printer(QPrinter::HighResolution);
    const std::string file = dir / "grid.pdf";
    PdfPrinter(printer, file);
    ASSERT_TRUE(PrintGrid(g, printer, QStringLiteral("Memories")));
    ASSERT_TRUE(std::filesystem::exists(file));

    const std::string text = PdfText(file);
    const std::vector<std::string> pages = Pages(text);
    ASSERT_GE(pages.size(), 2u);
    const std::string count = std::to_string(pages.size());
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NE(pages[i].find("PC Memories"), std::string::npos);
        EXPECT_NE(pages[i].find("Frequency"), std::string::npos);  // the headings repeat
        EXPECT_NE(pages[i].find("Page " + std::to_string(i + 1) + " of " + count + " %s"),
                  std::string::npos);
    }
    EXPECT_NE(pages.front().find("1,1"), std::string::npos);
    EXPECT_NE(pages.back().find("149,4"), std::string::npos);
    EXPECT_NE(text.find("145.500.000"), std::string::npos);
    EXPECT_NE(text.find("Calling channel"), std::string::npos);
    // Every body row is printed exactly once.
    for (int r : {1, 40, 75, 110, 149}) {
        const std::string cell = std::to_string(r) + ",2";
        std::size_t n = 0;
        for (std::size_t at = 0; (at = text.find(" " + cell + " ", at)) != std::string::npos; ++at)
            ++n;
        EXPECT_EQ(n, 1u) << cell;
    }
    EXPECT_EQ(g.GetPrintLayout().PageCount(), 0);  // the job's layout is gone afterwards
}

TEST(GridWidgetPrint, ARowTallerThanThePageIsPrintedOverPages)
{
    TempDir dir;
    ShownGrid s(4, 3);
    CDataGrid& g = s.grid();
    g.SetRowHeight(2, 5000);
    g.SetItemFormat(2, 1, DT_LEFT);
    g.SetItemText(2, 1, "TallRowText");
    g.SetItemText(3, 1, "After");
    QPrinter printer(QPrinter::HighResolution);
    const std::string file = dir / "tall.pdf";
    PdfPrinter(printer, file);
    ASSERT_TRUE(PrintGrid(g, printer, QStringLiteral("Tall")));
    const std::string text = PdfText(file);
    EXPECT_GE(Pages(text).size(), 3u);
    EXPECT_NE(text.find("TallRowText"), std::string::npos);
    EXPECT_NE(text.find("After"), std::string::npos);
}

TEST(GridWidgetPrint, AGridWithNoPrintableBodyReportsFailure)
{
    TempDir dir;
    ShownGrid s(3, 2);
    CDataGrid& g = s.grid();
    g.GetPrintSettings().headerLines = 1000;  // the header alone fills the page
    QPrinter printer(QPrinter::HighResolution);
    PdfPrinter(printer, dir / "none.pdf");
    EXPECT_FALSE(PrintGrid(g, printer, QStringLiteral("None")));
}

TEST(GridWidgetPrint, ColumnsSizedToTheirTextPrintItWhole)
{
    TempDir dir;
    ShownGrid s(3, 4);
    CDataGrid& g = s.grid();
    g.SetItemText(0, 0, "Ch");
    g.SetItemText(0, 1, "Frequency");
    g.SetItemText(1, 2, "Repeater");
    g.AutoSize();
    QPrinter printer(QPrinter::HighResolution);
    const std::string file = dir / "fit.pdf";
    PdfPrinter(printer, file);
    ASSERT_TRUE(PrintGrid(g, printer, QStringLiteral("Fit")));
    const std::string text = PdfText(file);
    for (const char* whole : {"Ch", "Frequency", "Repeater", "2,3"})
        EXPECT_NE(text.find(whole), std::string::npos) << whole;
}

TEST(GridWidgetPrint, ClosingTheWindowWhileThePrintDialogRunsIsSafe)
{
    auto s = std::make_unique<ShownGrid>(3, 2);
    CGridWidget* widget = s->widget;
    bool closed = false;
    QTimer::singleShot(0, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        s.reset();  // the owner closes the window while the dialog is open
        closed = true;
        if (dialog)
            dialog->close();
    });
    EXPECT_FALSE(widget->Print(QStringLiteral("gone"), "gone"));
    EXPECT_TRUE(closed);
}
