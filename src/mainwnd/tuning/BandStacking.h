// CBandStacking (dialog 297, "Band Stacking"): asks whether to recall or save a band-stacking
// register. Choice() answers bands::kStackRecall or kStackSave when its button ended the dialog,
// else kStackCancel (DoModal's own codes say nothing about the choice).
#pragma once

#include "MyFontDialog.h"
#include "Tuning.h"

class CBandStacking : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 297;
    static constexpr int kRecall = 1281;
    static constexpr int kSave = 1282;

    CBandStacking();
    int Choice() const { return choice_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

private:
    int choice_ = bands::kStackCancel;
};

// CSceltaVFO (dialog 139, "Choose the VFO in Use"): Choice() is 1 for VFO A, 0 for VFO B.
class CSceltaVFO : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 139;
    static constexpr int kVfoA = 1031;
    static constexpr int kVfoB = 1032;

    CSceltaVFO();
    int Choice() const { return choice_; }

protected:
    bool OnCommand(int id, int code) override;

private:
    int choice_ = 0;
};
