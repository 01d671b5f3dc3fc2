// Keyboard push-to-talk. There is no global keyboard hook on Linux, so an application-wide event
// filter watches the configured key while one of the program's windows has the focus: pressing it
// keys the transmitter, releasing it unkeys. Auto-repeat is ignored, and the transmitter is
// unkeyed when the program loses the focus while the key holds it (the release would never come).
// X auto-repeat comes as release/press pairs with one time stamp that are not always marked as
// repeats: a release the X server shows still held is a repeat, and so is the press with its time
// stamp. Without an X server to ask, a release waits until the events queued behind it have been
// seen, and a press with its time stamp among them takes it back.
#pragma once

#include <QObject>

#include <cstdint>
#include <optional>

class IMainWindow;

// The Qt key of a Windows virtual-key code as Setup/"PTTKey" stores it (17 CTRL, 18 ALT GR,
// 122 F11, 123 F12; also letters, digits and F1..F24); 0 when there is none.
int QtKeyForVirtualKey(int virtualKey, bool* altGrToo = nullptr);

class CKeyboardPtt : public QObject {
    Q_OBJECT
public:
    // Installs itself on the application; the window must outlive this object.
    explicit CKeyboardPtt(IMainWindow& window, QObject* parent = nullptr);
    // Unkeys what the key keyed, then removes itself.
    ~CKeyboardPtt() override;

    bool KeyedByKey() const { return keyed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsPttKey(int qtKey) const;
    bool OnPress(unsigned long timestamp);
    bool OnRelease(unsigned long timestamp, uint32_t nativeScanCode);
    // Carries out a release that no repeat took back.
    void FinishRelease();
    void Release();

    IMainWindow& window_;
    bool keyed_ = false;
    std::optional<unsigned long> repeatStamp_;  // the last release's, while it may be a repeat's
    bool releasePending_ = false;
    unsigned releaseSerial_ = 0;
};
