// What every dialog reaches through the application: the language table, the configuration
// store and the main window. The application sets them once at start-up; until then dialogs
// use an empty (English) table, no store and no main window.
#pragma once

class CIni;
class CLanguage;
class QWidget;

namespace framework {

void SetLanguage(CLanguage* language);
void SetIni(CIni* ini);
// The window that owns dialogs opened without an owner.
void SetMainWindow(QWidget* window);

CLanguage& Language();
CIni* Ini();            // null when not set
QWidget* MainWindow();  // null when not set or destroyed

// Setup/"ToolTips" from the store (on when there is no store).
bool ToolTipsEnabled();

}  // namespace framework
