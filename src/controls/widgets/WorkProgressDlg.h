// CWorkProgressDlg: the modeless progress dialog of long operations, with an Abort button. It
// disables its owner while it exists. Abort and Esc only ask the driving loop to stop
// (CheckCancelButton); the dialog closes when its driver destroys it.
#pragma once

#include "MyFontDialog.h"

#include <QPointer>

#include <string>

class QProgressBar;

class CWorkProgressDlg : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 129;
    static constexpr int kProgressId = 1003;
    static constexpr int kTextId = 1004;

    CWorkProgressDlg();
    ~CWorkProgressDlg() override;

    // Owner: the main window (else the active window). False, with the owner enabled, on failure.
    bool Create(QWidget* owner = nullptr);
    // Also holds the window of w disabled until the dialog goes: the window the work was started
    // from, when it is not the owner.
    void HoldDisabled(QWidget* w);
    void SetRange(int lower, int upper, const std::string& text = {});
    void SetStep(int step);
    void SetStatus(const std::string& caption);
    void ToggleShowCount() { showCount_ = !showCount_; }
    void HideCancel();
    // Serves waiting events, moves the bar and updates the count text; returns the old position.
    int SetPos(int pos);
    // Serves waiting events; true once after Abort or Esc.
    bool CheckCancelButton();
    void DestroyWindow();

    bool IsCancelled() const { return cancelled_; }
    std::string CountText() const;

protected:
    bool OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override { cancelled_ = true; }
    bool OnCommand(int id, int code) override;

private:
    QProgressBar* Bar() const;
    void ShowCount(int pos);

    std::string text_;
    int lower_ = 0;
    int upper_ = 100;
    int step_ = 10;
    bool cancelled_ = false;
    bool cancelEnabled_ = true;
    bool showCount_ = true;
    bool created_ = false;
    QPointer<QWidget> disabledOwner_;
    QPointer<QWidget> heldWindow_;
};
