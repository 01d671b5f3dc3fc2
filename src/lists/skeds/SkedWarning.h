// CAttivaSkeds: the warning shown while a sked counts down to its firing. It disables the main
// window (timers and the radio go on) and offers only "Abort"; closing it enables the window
// again.
#pragma once

#include "MyFontDialog.h"

#include <QPointer>

#include <string>

class CAttivaSkeds : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 229;
    static constexpr int kText = 1096;

    CAttivaSkeds();
    ~CAttivaSkeds() override;

    // Disables the owner's top-level window (when it is enabled) and shows the warning; false,
    // with the window enabled again, when the warning could not be built.
    bool Create(QWidget* owner);
    void SetText(const std::string& text);
    // Serves the waiting events, then whether "Abort" was pressed since the last call.
    bool CheckAbort();

protected:
    bool OnInitDialog() override;
    // "Abort", Esc and the window's close button: the countdown asks what to do.
    void OnCancel() override { abort_ = true; }
    void OnOK() override {}

private:
    void EnableOwner();

    QPointer<QWidget> disabled_;
    bool abort_ = false;
};
