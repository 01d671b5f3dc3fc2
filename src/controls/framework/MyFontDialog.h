// CMyFontDialog: the base of the program's dialogs. It builds its window from the dialog
// template of its resource id (DialogTemplate.h) with the template's font replaced, either by a
// face and size set before opening (SetTemplateFont) or by the font of its owner window, so the
// whole interface follows the font the user chose for the main window.
//
// Each DoModal or Create builds the controls afresh from the template, translates the texts
// (CLanguage::TranslateDialog) and calls OnInitDialog. Controls report to OnCommand(id, code);
// a button with id ctl::kIdOk or ctl::kIdCancel, Enter and Esc, and closing the window reach
// OnOK and OnCancel, whose defaults end the dialog with ctl::kIdOk / ctl::kIdCancel. Enter while
// a push button (not a checkable one) has the focus presses that button instead. F1 opens the
// help topic HelpTopic() (the template id by default). Tool tips go through ToolTips().
#pragma once

#include "CommandCodes.h"
#include "CommandTarget.h"
#include "DialogTemplate.h"

#include <QDialog>
#include <QPointer>

#include <map>
#include <string>

class CToolTipLoc;
class QBoxLayout;
class QButtonGroup;
class QLayout;
class QScrollArea;

class CMyFontDialog : public QDialog, public ICommandTarget {
    Q_OBJECT
public:
    // Without a template: the dialog supplies one to Create (CreateFromTemplate).
    CMyFontDialog();
    // With the resource id of its template (the about dialog passes 100).
    explicit CMyFontDialog(unsigned templateId);
    ~CMyFontDialog() override;

    // Stores the font for the template; false (nothing stored) unless the face is non-empty and
    // the size is at least 1.
    bool SetTemplateFont(const std::string& face, int pointSize);
    // SetTemplateFont (its result ignored), then DoModal.
    int DoModalWithFont(const std::string& face, int pointSize);
    // Runs the dialog window-modal on its owner; returns the EndDialog value, -1 when there is
    // no template.
    virtual int DoModal();
    // Builds the dialog modeless (not shown) as a window owned by `parent`; false when there is
    // no template.
    virtual bool Create(unsigned templateId, QWidget* parent);
    bool CreateFromTemplate(const DialogTemplate& dialogTemplate, QWidget* parent);

    // The face set by SetTemplateFont when it has 2 or more characters, else the face the window
    // actually uses.
    std::string GetFontFace() const;
    // The size set by SetTemplateFont, else the owner's font size in points; 8 when there is no
    // owner or no positive size.
    int GetFontSize() const;
    // Takes face and size from the owner's font; false (nothing changed) without an owner.
    bool TakeOwnerFont();

    // The owner: the one set by SetOwner, else the main window, else the active window.
    void SetOwner(QWidget* owner) { owner_ = owner; }
    QWidget* Owner() const;

    unsigned TemplateId() const { return templateId_; }
    void SetTemplateId(unsigned id) { templateId_ = id; }

    // Whether the window scrolls its controls, being larger than the screen.
    bool ScrollsOnScreen() const;
    // Makes the controls scroll when the window with its frame is larger than the screen (done
    // at its showing; again once the window manager's frame is known).
    void ScrollWhenLarger();

    // Ends a modal dialog (DoModal returns `result`) or hides a modeless one.
    void EndDialog(int result);

    // Controls by id; null when the dialog has none with that id.
    QWidget* GetDlgItem(int id) const;
    template <class T>
    T* GetDlgItemAs(int id) const
    {
        return qobject_cast<T*>(GetDlgItem(id));
    }
    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;

    // Timers by id: OnTimer(id) runs every `ms` milliseconds until KillTimer. Setting an id
    // again restarts it.
    void SetTimer(int id, int ms);
    void KillTimer(int id);

    // The dialog's tool tips (created on first use).
    CToolTipLoc& ToolTips();

    bool DispatchCommand(int id, int code) override { return OnCommand(id, code); }

protected:
    // After the controls are built and translated. Returns true when the framework should put
    // the focus on the first control, false when the dialog set it itself.
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    // Notifications of the controls; the base handles kIdOk and kIdCancel. True when handled.
    virtual bool OnCommand(int id, int code);
    virtual void OnTimer(int id);
    // F1: opens HelpTopic().
    virtual void OnHelp();
    virtual int HelpTopic() const { return static_cast<int>(templateId_); }
    // Off: the template's own font (or the application's), not the owner's; before Create.
    void SetFontSubstitution(bool on) { substituteFont_ = on; }

    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

public slots:
    // Closing the window and Esc from Qt go through OnCancel.
    void reject() override;

private:
    struct Built;
    bool Build(const DialogTemplate& t);
    void ApplyTemplateFont(const DialogTemplate& t);
    Built BuildItem(const TemplateItem& item, QWidget* parent);
    void AddToBox(QBoxLayout* box, const Built& built, const TemplateItem& item);
    void ClearContent();
    void ConnectControl(QWidget* w);
    void FinishCreation();

    std::string faceName_;
    int pointSize_ = 0;
    bool substituteFont_ = true;
    unsigned templateId_ = 0;
    QPointer<QWidget> owner_;
    std::map<int, QPointer<QWidget>> items_;
    std::map<int, int> timers_;           // our id -> Qt timer id
    CToolTipLoc* toolTips_ = nullptr;     // child object
    QWidget* content_ = nullptr;          // holder of the built controls
    QPointer<QScrollArea> scroller_;      // around content_ when the screen is too small
    QButtonGroup* radioGroup_ = nullptr;  // radio buttons being built join it
};
