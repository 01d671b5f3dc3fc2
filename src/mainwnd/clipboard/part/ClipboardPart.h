// The clipboard part of the main window: while "Hook Clipboard" is on, a text another program
// copies keys or unkeys the transmitter or tunes the radio (ClipboardTuning.h says how a text is
// read). Texts this program copied itself are ignored.
#pragma once

#include "MainWindowPart.h"

std::unique_ptr<IMainWindowPart> MakeClipboardPart(IMainWindowServices& services);
