#include "ProgramClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

const QString kProgramTextMime = QStringLiteral("application/x-corvane-text");

}  // namespace

QMimeData* MarkedMimeData(const QString& text)
{
    auto* data = new QMimeData;
    data->setText(text);
    data->setData(kProgramTextMime, QByteArray("1"));
    return data;
}

void SetProgramClipboardText(const QString& text)
{
    QGuiApplication::clipboard()->setMimeData(MarkedMimeData(text));
}

bool IsProgramClipboardData(const QMimeData* data)
{
    return data != nullptr && data->hasFormat(kProgramTextMime);
}
