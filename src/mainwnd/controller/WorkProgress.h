// The progress a long radio sequence shows (a modeless progress dialog in the program): opened
// with a text by language string id and a number of steps, stepped, closed; work that can stop
// asks whether the user wants it to.
#pragma once

namespace radio {

class IWorkProgress {
public:
    virtual ~IWorkProgress() = default;
    virtual void OpenProgress(int textId, int steps) = 0;
    virtual void StepProgress() = 0;
    virtual void CloseProgress() = 0;
    // Whether the user asked to stop since the last call (work that can stop asks).
    virtual bool ProgressCancelled() { return false; }
};

}  // namespace radio
