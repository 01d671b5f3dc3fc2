// Text this program puts on the clipboard carries a mark, so that clipboard tuning does not act
// on the program's own copies and the grid knows its own tab-split fields.
#pragma once

#include <QString>

class QMimeData;

// Clipboard data holding the text and the mark; the caller passes it on to the clipboard or a
// drag, which takes ownership.
QMimeData* MarkedMimeData(const QString& text);
// Puts the text on the clipboard with the mark.
void SetProgramClipboardText(const QString& text);
// True when the data (null: none) came from this program.
bool IsProgramClipboardData(const QMimeData* data);
