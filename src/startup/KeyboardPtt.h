// Keyboard push-to-talk. There is no global keyboard hook on Linux, so an application-wide event
// filter watches the configured key while one of the program's windows has the focus: pressing it
// keys the transmitter, releasing it unkeys. Auto-repeat is ignored, and the transmitter is
// unkeyed when the program loses the focus while the key holds it (the release would never come).
#pragma once

#include <QObject>

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
    void Release();

    IMainWindow& window_;
    bool keyed_ = false;
};
