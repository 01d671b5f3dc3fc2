// CPrinter: a line printer over a QPrinter (a real printer or a PDF file) in a fixed-pitch
// 10-point font. Every page begins with the title, the page number, a red rule and the header
// lines that are not empty.
#pragma once

#include "ReportLayout.h"

#include <QFont>
#include <QPainter>

#include <array>
#include <memory>
#include <string>

class QPrinter;

class CPrinter {
public:
    static constexpr std::size_t kHeaderCount = 9;

    // The printer outlives this object.
    explicit CPrinter(QPrinter& printer);
    virtual ~CPrinter();
    CPrinter(const CPrinter&) = delete;
    CPrinter& operator=(const CPrinter&) = delete;

    void SetTitle(const std::string& title) { title_ = title; }
    void SetHeader(std::size_t index, const std::string& text);

    // Opens the document; false when the printer cannot be drawn on.
    bool StartPrinting(const std::string& docName);
    void PrintLine(const std::string& text);
    void PrintEmptyLine() { PrintLine({}); }
    // Ends the document; a document without a line still gets one page of title and headers.
    void EndPrinting();
    int GetCharsPerLine() const { return reports::CharsPerLine(metrics_); }
    int PageNumber() const { return pager_ ? pager_->PageNumber() : 0; }

    // The report font, and the page it gives on a printer as it is set up now.
    static QFont ReportFont();
    static reports::PageMetrics MetricsOn(QPrinter& printer);

protected:
    virtual void PrintPageHeader();

private:
    void Line(const std::string& text, bool header);

    QPrinter& printer_;
    QPainter painter_;
    QFont font_;
    int ascent_ = 0;
    std::string title_;
    std::array<std::string, kHeaderCount> headers_;
    reports::PageMetrics metrics_;
    std::unique_ptr<reports::CLinePager> pager_;
    bool documentOpen_ = false;
};
