// CTabPage: a dialog that lives as a page of a CPageTabCtrl. Enter and Esc do nothing on a
// page. With RouteCommand set to 1, the page hands its commands on to its parent after its own
// handling and answers with the parent's answer.
#pragma once

#include "MyFontDialog.h"

#include <cstdint>

class CTabPage : public CMyFontDialog {
    Q_OBJECT
public:
    explicit CTabPage(unsigned templateId);

    // Builds the page as a child window of `parent` (not shown).
    bool Create(unsigned templateId, QWidget* parent) override;

    bool DispatchCommand(int id, int code) override;

    std::uint8_t RouteCommand = 0;

protected:
    void OnOK() override {}
    void OnCancel() override {}
};
