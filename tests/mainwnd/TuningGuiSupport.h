// Shared by the tuning control tests: one QApplication with the custom controls registered, a
// language table whose message boxes are answered from a list, and a helper that runs a step
// once a modal dialog's loop is running.
#pragma once

#include "CustomControls.h"
#include "FrameworkContext.h"
#include "Language.h"

#include <QApplication>
#include <QTimer>

#include <deque>
#include <functional>
#include <vector>

namespace tuninggui {

inline QApplication& App()
{
    static int argc = 1;
    static char name[] = "tuning_test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        RegisterCustomControls();
        return a;
    }();
    return *app;
}

inline void WhenModal(std::function<void()> step)
{
    QTimer::singleShot(0, &App(), std::move(step));
}

// Records every message box and answers with the next queued answer (No when none is left).
struct Boxes {
    CLanguage language;
    std::vector<MessageBoxRequest> shown;
    std::deque<int> answers;

    Boxes()
    {
        language.SetMessageBoxSink([this](const MessageBoxRequest& r) {
            shown.push_back(r);
            if (answers.empty())
                return (r.style & mb::kButtonsMask) == mb::kYesNo ? mb::kIdNo : mb::kIdOk;
            const int a = answers.front();
            answers.pop_front();
            return a;
        });
        framework::SetLanguage(&language);
    }
    ~Boxes() { framework::SetLanguage(nullptr); }
};

}  // namespace tuninggui
