// Creates the controls of a dialog template as their own classes, by class name.
//
// The standard classes are built in: "STATIC" (QLabel), "BUTTON" (QPushButton), "CHECKBOX",
// "RADIOBUTTON", "EDIT" (QLineEdit, or QPlainTextEdit with tpl::kMultiLine), "COMBOBOX",
// "LISTBOX", "TABCONTROL" (CPageTabCtrl), "PROGRESS" (QProgressBar) and "FRAME" (a plain
// container widget). Other libraries register their custom controls under their class names
// ("CFlatButton", "CNumEdit", ...) before the first dialog opens; the framework itself never
// depends on them. An unknown class gives an empty placeholder widget, so a template never
// crashes a dialog.
//
// For every control a template creates, the dialog reports to its OnCommand: clicks of any
// QAbstractButton (ctl::kBnClicked), text changes of QLineEdit and QPlainTextEdit
// (ctl::kEnChange), user selection in QComboBox (ctl::kCbnSelChange) and QListWidget
// (ctl::kLbnSelChange, ctl::kLbnDblClk), subclasses included. Custom controls report anything
// else (the mouse codes) themselves with framework::NotifyParent (CommandTarget.h).
#pragma once

#include "DialogTemplate.h"

#include <functional>
#include <string>

class QWidget;

// Builds the control of `decl` as a child of `parent`. The framework sets the id, caption
// translation and style bits common to all classes afterwards.
using ControlCreator = std::function<QWidget*(const ControlSpec& decl, QWidget* parent)>;

// Adds or replaces a class. Names match exactly.
void RegisterControlClass(const std::string& className, ControlCreator creator);
bool IsControlClassRegistered(const std::string& className);

// Creates the control, sets its id (see ControlId) and its common style bits.
QWidget* CreateControl(const ControlSpec& decl, QWidget* parent);

// The id a control was created with; -1 for widgets that carry none.
int ControlId(const QWidget* widget);
void SetControlId(QWidget* widget, int id);

// The caption text of a standard control (label, button, group box), empty for others; and
// setting it. Custom controls take part when they have a QString property "text".
bool HasCaption(const QWidget* widget);
std::string CaptionOf(const QWidget* widget);
void SetCaptionOf(QWidget* widget, const std::string& text);
// A button given a width in characters, or a read-only field that keeps about its width, grows
// to show its whole text (a driver's long name, a large font); it never shrinks.
void KeepTextWhole(QWidget* widget);

class QComboBox;
class QListWidget;
// Adds a text to a combo box or list box, in sorted place when it was created with tpl::kSorted;
// returns the index.
int AddString(QComboBox* combo, const std::string& text);
int AddString(QListWidget* list, const std::string& text);
