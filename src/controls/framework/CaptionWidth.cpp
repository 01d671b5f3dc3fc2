#include "CaptionWidth.h"

#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

namespace {

// Icon, minimise, maximise and close, the bar's margins and a title font somewhat larger than the
// dialog's, in text line heights.
constexpr int kTitleBarLines = 10;

}  // namespace

int CaptionFitWidth(const QWidget& window)
{
    QFont bold = window.font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    return metrics.horizontalAdvance(window.windowTitle()) + kTitleBarLines * metrics.height();
}

void FitCaptionWidth(QWidget& window)
{
    window.setMinimumWidth(std::max(window.minimumWidth(), CaptionFitWidth(window)));
}
