#include "CaptionWidth.h"

#include <QFontMetrics>
#include <QWidget>

#include <algorithm>

namespace {

// Icon, minimise, maximise and close, the bar's margins and a title font somewhat larger than the
// dialog's, in text line heights.
constexpr int kTitleBarLines = 10;

}  // namespace

void FitCaptionWidth(QWidget& window)
{
    QFont bold = window.font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int wanted =
        metrics.horizontalAdvance(window.windowTitle()) + kTitleBarLines * metrics.height();
    window.setMinimumWidth(std::max(window.minimumWidth(), wanted));
}
