// The text reports printed to PDF files offscreen and read back with pdftotext: the columns, the
// page headers on every page, the skeds' two layouts either side of 90 characters, the band
// limits, an empty list, a page too small for its headers, and an aborted print.
#include "BandTable.h"
#include "FrameworkContext.h"
#include "Language.h"
#include "Printer.h"
#include "ReportPdf.h"
#include "ReportPrint.h"
#include "TempDir.h"
#include "TextReports.h"
#include "WorkProgressDlg.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using testing_support::TempDir;

QApplication& App()
{
    static int argc = 1;
    static char name[] = "reports_test";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

std::size_t Count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// The line of a page holding `what`, or "".
std::string LineWith(const std::string& page, const std::string& what)
{
    const std::size_t at = page.find(what);
    if (at == std::string::npos)
        return {};
    const std::size_t begin = page.rfind('\n', at) + 1;
    return page.substr(begin, page.find('\n', at) - begin);
}

std::string Date(const std::tm& at)
{
    return std::to_string(at.tm_mday) + "/" + std::to_string(at.tm_mon + 1) + "/"
           + std::to_string(at.tm_year + 1900);
}

class ReportsPdf : public ::testing::Test {
protected:
    ReportsPdf()
    {
        App();
        language.SetMessageBoxSink([this](const MessageBoxRequest& r) {
            asked.push_back(r.text);
            return yesNo;
        });
        framework::SetLanguage(&language);
    }
    ~ReportsPdf() override { framework::SetLanguage(nullptr); }

    // Prints to `file` on a page `widthMm` wide; its pages' texts.
    std::vector<std::string> Print(const std::string& file, const reports::ReportBuilder& build,
                                   int progressTitle = 0, double widthMm = 210)
    {
        const auto choose = [&](QPrinter& p) {
            reportpdf::ToPdf(p, file, widthMm);
            return true;
        };
        EXPECT_TRUE(reports::PrintReport(choose, {"Corvane 4.7 - IC-706", "Corvane", progressTitle},
                                         build, language, nullptr));
        return reportpdf::Pages(file);
    }

    // The narrowest page width (mm) giving n characters per line.
    static double WidthFor(int n)
    {
        for (double mm = 100; mm < 400; mm += 0.25) {
            QPrinter printer(QPrinter::HighResolution);
            reportpdf::ToPdf(printer, "/dev/null", mm);
            if (reports::CharsPerLine(CPrinter::MetricsOn(printer)) == n)
                return mm;
        }
        return 0;
    }

    TempDir dir;
    CLanguage language;
    std::vector<std::string> asked;
    int yesNo = mb::kIdYes;
};

TEST_F(ReportsPdf, SplitsKeepTheirColumnsAndEveryPageRepeatsTitleNumberAndHeaders)
{
    const std::string longText(120, 'x');
    std::vector<std::string> lines{
        "Short ~ -600.000 ~ FM ~ OFF ~", longText + " ~ 5.000 ~ USB ~ ON ~", "Missing fields ~ 100",
        "Citt\u00e0 " + std::string(60, 'x') + "\u00e8 ~ 7.000 ~ LSB ~ OFF ~"};
    for (int i = 0; i < 150; ++i)
        lines.push_back("Repeater " + std::to_string(i) + " ~ 600.000 ~ FM ~ OFF ~");
    int n = 0;
    const std::vector<std::string> pages = Print(dir / "split.pdf", [&](int chars) {
        n = chars;
        return reports::SplitReport(lines, language, chars);
    });
    ASSERT_GE(pages.size(), 3u);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE(p);
        const std::string title = LineWith(pages[p], "Corvane 4.7 - IC-706");
        EXPECT_NE(title.find(std::to_string(p + 1)), std::string::npos) << title;
        EXPECT_EQ(Count(pages[p], "List the Split :"), 1u);
        EXPECT_EQ(Count(pages[p], "Description"), 1u);
    }
    const std::string all = [&] {
        std::string s;
        for (const std::string& p : pages)
            s += p;
        return s;
    }();
    EXPECT_EQ(Count(all, "Repeater "), 150u);
    EXPECT_EQ(all.find("Missing fields"), std::string::npos);
    // The first column is exactly n - 27 wide: the long text cut one short, then its fields.
    const std::string row = LineWith(all, "xxx");
    EXPECT_EQ(row.find(longText.substr(0, n - 28) + " "), 0u) << row;
    EXPECT_EQ(row.find(longText.substr(0, n - 27)), std::string::npos);
    EXPECT_NE(row.find("5.000"), std::string::npos);
    // The Hz column ends at the same place on every row and in the header.
    const std::string header = LineWith(pages[0], "Description");
    const std::string shortRow = LineWith(all, "Short");
    EXPECT_EQ(header.find("Hz") + 2, shortRow.find("-600.000") + 8);
    // Accented characters count once and are never cut in two.
    const std::string accented = LineWith(all, "Citt\u00e0 xxx");
    EXPECT_EQ(accented.find("\u00e8"), std::string::npos) << accented;
    EXPECT_EQ(QString::fromStdString(accented).indexOf("7.000") + 5,
              QString::fromStdString(shortRow).indexOf("-600.000") + 8)
        << accented;
}

TEST_F(ReportsPdf, SkedsTakeTwoLinesAt89CharactersAndOneFrom90)
{
    const std::vector<std::string> lines{
        "202612241830 ~ Christmas net ~ 14.250.000 ~ USB ~ OFF ~ 7.100.000 ~ LSB ~ ON ~ SPLIT ~ "
        "VFO B ~"};
    const double narrow = WidthFor(89);
    const double wide = WidthFor(90);
    ASSERT_GT(narrow, 0);
    ASSERT_GT(wide, narrow);

    int n = 0;
    const auto build = [&](int chars) {
        n = chars;
        return reports::SkedReport(lines, language, chars, Date);
    };
    std::vector<std::string> pages = Print(dir / "narrow.pdf", build, 1183, narrow);
    EXPECT_EQ(n, 89);
    ASSERT_EQ(pages.size(), 1u);
    std::string first = LineWith(pages[0], "Christmas net");
    EXPECT_NE(first.find("24/12/2026"), std::string::npos) << first;
    EXPECT_NE(first.find("18:30"), std::string::npos);
    EXPECT_NE(first.find("14.250.000"), std::string::npos);
    EXPECT_EQ(first.find("7.100.000"), std::string::npos);
    const std::string second = LineWith(pages[0], "VFO B   SPLIT");
    EXPECT_NE(second.find("7.100.000"), std::string::npos) << second;
    EXPECT_NE(LineWith(pages[0], "VFO Sel.   Split").find("VFO-B : Hz"), std::string::npos);

    pages = Print(dir / "wide.pdf", build, 1183, wide);
    EXPECT_EQ(n, 90);
    ASSERT_EQ(pages.size(), 1u);
    first = LineWith(pages[0], "18:30");
    EXPECT_EQ(first.find("Christ "), 0u) << first;  // the description column is 7 wide
    for (const char* field : {"24/12/2026", "18:30", "VFO B", "SPLIT", "14.250.000", "7.100.000"})
        EXPECT_NE(first.find(field), std::string::npos) << field << ": " << first;
    const std::string header = LineWith(pages[0], "Date and Time UTC");
    EXPECT_NE(header.find("VFO Sel."), std::string::npos) << header;
    EXPECT_NE(header.find("VFO-B : Hz"), std::string::npos);
}

TEST_F(ReportsPdf, BandLimitsGroupEveryNumberItselfAndSkipEmptySegments)
{
    bands::CBandTable table;
    table.Row(0).upper = 1234567890;  // ten digits
    for (bands::Range& r : table.Row(1).segments)
        r = {};
    const std::vector<std::string> pages = Print(dir / "limits.pdf", [&](int) {
        return reports::BandLimitsReport(table, 30000, 469999999, language);
    });
    ASSERT_EQ(pages.size(), 1u);
    const std::string& page = pages[0];
    EXPECT_NE(page.find("General coverage of the transceiver from 30.000 Hz to 469.999.999 Hz"),
              std::string::npos);
    const std::string band160 = LineWith(page, "Band 160mt");
    EXPECT_NE(band160.find("to 1.234.567.890 Hz"), std::string::npos) << band160;
    EXPECT_NE(band160.find("from   1.810.000 Hz") == std::string::npos
                  ? band160.find("from ")
                  : band160.find("from   1.810.000 Hz"),
              std::string::npos);
    // 80 m: the band line, no mode line, then the next band after one empty line.
    const std::size_t at80 = page.find("Band 80mt");
    const std::size_t at40 = page.find("Band 40mt");
    ASSERT_NE(at80, std::string::npos);
    ASSERT_NE(at40, std::string::npos);
    EXPECT_EQ(page.substr(at80, at40 - at80).find("Mode"), std::string::npos);
    EXPECT_EQ(Count(page, "mt "), 12u);
    std::size_t cw = 0;
    for (int row = 0; row < bands::kAmateurBandCount; ++row) {
        const bands::Range& r = table.Row(row).segments[bands::kSegCw];
        cw += r.lower > 0 && r.upper != 0 ? 1 : 0;
    }
    EXPECT_EQ(Count(page, "Mode CW"), cw) << page;
}

TEST_F(ReportsPdf, AnEmptyListPrintsOnePageOfTitleAndHeaders)
{
    const std::vector<std::string> pages = Print(
        dir / "empty.pdf", [&](int chars) { return reports::SplitReport({}, language, chars); });
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].find("Corvane 4.7 - IC-706"), std::string::npos);
    EXPECT_NE(pages[0].find("List the Split :"), std::string::npos);
}

TEST_F(ReportsPdf, APageTooSmallForItsHeadersStillEndsAndKeepsEveryLine)
{
    const auto choose = [&](QPrinter& p) {
        p.setOutputFormat(QPrinter::PdfFormat);
        p.setOutputFileName(QString::fromStdString(dir / "tiny.pdf"));
        p.setPageSize(QPageSize(QSizeF(20, 25), QPageSize::Millimeter));
        return true;
    };
    int n = 0;
    std::vector<std::string> lines;
    for (int i = 0; i < 5; ++i)
        lines.push_back("S" + std::to_string(i) + " ~ 1 ~ FM ~ OFF ~");
    ASSERT_TRUE(reports::PrintReport(
        choose, {"T", "Corvane", 0},
        [&](int chars) {
            n = chars;
            return reports::SplitReport(lines, language, chars);
        },
        language, nullptr));
    EXPECT_EQ(n, 1);  // narrower than the margins: still one character
    EXPECT_EQ(reportpdf::Pages(dir / "tiny.pdf").size(), 5u);
}

TEST_F(ReportsPdf, AbortAskedAndAnsweredYesEndsThePagesPrintedSoFar)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 40; ++i)
        lines.push_back("Entry" + std::to_string(i) + " ~ 1 ~ FM ~ OFF ~");
    // Abort is pressed once the progress shows, and again while the first question is asked:
    // the first answer is No, the second Yes.
    QPointer<QPushButton> abort;
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* dlg = qobject_cast<CWorkProgressDlg*>(w); dlg && dlg->isVisible() && !abort)
                if ((abort = dlg->findChild<QPushButton*>())) {
                    watch.stop();
                    abort->click();
                }
    });
    language.SetMessageBoxSink([&](const MessageBoxRequest& r) {
        asked.push_back(r.text);
        if (asked.size() > 1)
            return mb::kIdYes;
        if (abort)
            abort->click();
        return mb::kIdNo;
    });
    watch.start();
    const std::vector<std::string> pages = Print(
        dir / "abort.pdf", [&](int chars) { return reports::SplitReport(lines, language, chars); },
        1121);
    watch.stop();
    EXPECT_EQ(asked, std::vector<std::string>(2, "Abort the print in progress ?"));
    ASSERT_FALSE(pages.empty());
    EXPECT_NE(pages[0].find("List the Split :"), std::string::npos);
    std::string all;
    for (const std::string& p : pages)
        all += p;
    EXPECT_LT(Count(all, "Entry"), 40u);
}

}  // namespace
