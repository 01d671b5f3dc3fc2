#include "Printer.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPrinter>

#include <algorithm>

namespace {

constexpr int kPointSize = 10;
constexpr const char* kFace = "Courier New";

}  // namespace

CPrinter::CPrinter(QPrinter& printer) : printer_(printer), font_(ReportFont()) {}

CPrinter::~CPrinter()
{
    if (documentOpen_)
        EndPrinting();
}

QFont CPrinter::ReportFont()
{
    QFont font(kFace, kPointSize);
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(kPointSize);
    }
    return font;
}

reports::PageMetrics CPrinter::MetricsOn(QPrinter& printer)
{
    // The whole sheet: the half-inch margins are the report's own.
    printer.setFullPage(true);
    const QFontMetrics fm(ReportFont(), &printer);
    reports::PageMetrics m;
    m.width = printer.width();
    m.height = printer.height();
    m.leftMargin = printer.logicalDpiX() / 2;
    m.topMargin = printer.logicalDpiY() / 2;
    m.lineHeight = fm.lineSpacing();
    m.charWidth = fm.horizontalAdvance(QLatin1Char('M'));
    return m;
}

void CPrinter::SetHeader(std::size_t index, const std::string& text)
{
    if (index < headers_.size())
        headers_[index] = text;
}

bool CPrinter::StartPrinting(const std::string& docName)
{
    printer_.setDocName(QString::fromStdString(docName));
    metrics_ = MetricsOn(printer_);
    if (!painter_.begin(&printer_))
        return false;
    painter_.setFont(font_);
    ascent_ = painter_.fontMetrics().ascent();
    pager_ = std::make_unique<reports::CLinePager>(metrics_);
    documentOpen_ = true;
    return true;
}

void CPrinter::PrintLine(const std::string& text)
{
    Line(text, false);
}

void CPrinter::Line(const std::string& text, bool header)
{
    if (!documentOpen_)
        return;
    if (pager_->NeedsNewPage(header)) {
        if (pager_->PageOpen())
            printer_.newPage();
        pager_->OpenPage();
        PrintPageHeader();
    }
    const int y = pager_->Take();
    if (!text.empty())
        painter_.drawText(metrics_.leftMargin, y + ascent_, QString::fromStdString(text));
}

void CPrinter::PrintPageHeader()
{
    const int top = metrics_.topMargin;
    const int left = metrics_.leftMargin;
    const int right = metrics_.width - left;
    const int line = metrics_.lineHeight;
    const int titleTop = top - 3 * line / 2;
    painter_.save();
    painter_.setPen(Qt::black);
    painter_.drawText(left, titleTop + ascent_, QString::fromStdString(title_));
    painter_.drawText(QRect(left, titleTop, right - left, line), Qt::AlignRight | Qt::AlignTop,
                      QString::number(pager_->PageNumber()));
    painter_.setPen(QPen(QColor(255, 0, 0), std::max(1, printer_.logicalDpiX() / 100)));
    painter_.drawLine(left, top - line / 2, right, top - line / 2);
    painter_.restore();
    for (const std::string& h : headers_)
        if (!h.empty())
            Line(h, true);
}

void CPrinter::EndPrinting()
{
    if (!documentOpen_)
        return;
    if (!pager_->PageOpen()) {
        pager_->OpenPage();
        PrintPageHeader();
    }
    painter_.end();
    documentOpen_ = false;
}
