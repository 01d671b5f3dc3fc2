// A 10 000-line split report printed to a PDF file through the report printer, against the same
// lines drawn with QPainter straight onto a QPdfWriter (same font, page and line spacing).
#include "Language.h"
#include "Printer.h"
#include "ReportPrint.h"
#include "TextReports.h"

#include <QApplication>
#include <QDir>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kLines = 10000;
constexpr int kRuns = 3;

double Ms(const std::chrono::steady_clock::time_point& since)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since)
        .count();
}

void ToPdf(QPrinter& printer, const QString& file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageSize(QPageSize(QPageSize::A4));
}

double Report(const std::vector<std::string>& lines, const CLanguage& language, const QString& file)
{
    const auto start = std::chrono::steady_clock::now();
    reports::PrintReport(
        [&](QPrinter& p) {
            ToPdf(p, file);
            return true;
        },
        {"Corvane", "Corvane", 0}, [&](int n) { return reports::SplitReport(lines, language, n); },
        language, nullptr);
    return Ms(start);
}

// The same text, laid out beforehand, drawn line by line.
double Plain(const reports::ReportText& report, const QString& file)
{
    const auto start = std::chrono::steady_clock::now();
    QPdfWriter writer(file);
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&writer);
    painter.setFont(CPrinter::ReportFont());
    const QFontMetrics fm = painter.fontMetrics();
    const int top = writer.logicalDpiY() / 2;
    const int left = writer.logicalDpiX() / 2;
    const int bottom = writer.height() - top;
    int y = top;
    for (const auto& entry : report.entries)
        for (const std::string& line : entry) {
            if (y > bottom) {
                writer.newPage();
                y = top;
            }
            painter.drawText(left, y + fm.ascent(), QString::fromStdString(line));
            y += fm.lineSpacing();
        }
    painter.end();
    return Ms(start);
}

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CLanguage language;
    std::vector<std::string> lines;
    for (int i = 0; i < kLines; ++i)
        lines.push_back("Repeater " + std::to_string(i) + " ~ -600.000 ~ FM ~ OFF ~");
    const QString folder = QDir::tempPath();
    const QString reportFile = folder + "/bench_report.pdf";
    const QString plainFile = folder + "/bench_report_plain.pdf";

    QPrinter probe(QPrinter::HighResolution);
    ToPdf(probe, "/dev/null");
    const reports::ReportText laidOut =
        reports::SplitReport(lines, language, reports::CharsPerLine(CPrinter::MetricsOn(probe)));

    std::vector<double> report;
    std::vector<double> plain;
    for (int run = 0; run < kRuns; ++run) {
        report.push_back(Report(lines, language, reportFile));
        plain.push_back(Plain(laidOut, plainFile));
    }
    std::sort(report.begin(), report.end());
    std::sort(plain.begin(), plain.end());
    QFile::remove(reportFile);
    QFile::remove(plainFile);
    std::printf("report_pdf_10k_ms: %.1f ms\n", report[kRuns / 2]);
    std::printf("qpainter_pdf_10k_ms: %.1f ms\n", plain[kRuns / 2]);
    return 0;
}
