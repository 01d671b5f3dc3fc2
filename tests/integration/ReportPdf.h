// The printed reports read back: a PDF file as text (pdftotext, columns kept), page by page.
#pragma once

#include <QPageSize>
#include <QPrinter>

#include <cstdio>
#include <string>
#include <vector>

namespace reportpdf {

// The pages' texts; empty when the file could not be read.
inline std::vector<std::string> Pages(const std::string& pdf)
{
    const std::string command = "pdftotext -layout '" + pdf + "' - 2>/dev/null";
    std::string text;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, p)) > 0)
            text.append(buffer, n);
        ::pclose(p);
    }
    std::vector<std::string> pages;
    std::size_t start = 0;
    for (std::size_t ff; (ff = text.find('\f', start)) != std::string::npos; start = ff + 1)
        pages.push_back(text.substr(start, ff - start));
    return pages;
}

// A chooser's work: the printer writes a PDF file of a page `widthMm` wide (A4 high).
inline void ToPdf(QPrinter& printer, const std::string& file, double widthMm = 210)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(file));
    printer.setPageSize(QPageSize(QSizeF(widthMm, 297), QPageSize::Millimeter));
    printer.setPageOrientation(QPageLayout::Portrait);
}

}  // namespace reportpdf
