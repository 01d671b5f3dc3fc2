#include "KeyboardPtt.h"

#include "MainWindowApi.h"
#include "ServerKeys.h"

#include <QCoreApplication>
#include <QKeyEvent>

int QtKeyForVirtualKey(int vk, bool* altGrToo)
{
    if (altGrToo)
        *altGrToo = false;
    switch (vk) {
    case 0x10: return Qt::Key_Shift;
    case 0x11: return Qt::Key_Control;
    case 0x12:
        // The right Alt key arrives as AltGr under most keyboard layouts.
        if (altGrToo)
            *altGrToo = true;
        return Qt::Key_Alt;
    case 0x20: return Qt::Key_Space;
    default: break;
    }
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z'))
        return vk;  // same codes in Qt
    if (vk >= 0x70 && vk <= 0x87)
        return Qt::Key_F1 + (vk - 0x70);
    return 0;
}

CKeyboardPtt::CKeyboardPtt(IMainWindow& window, QObject* parent) : QObject(parent), window_(window)
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

CKeyboardPtt::~CKeyboardPtt()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    Release();
}

bool CKeyboardPtt::IsPttKey(int qtKey) const
{
    bool altGr = false;
    int wanted = QtKeyForVirtualKey(window_.PttKey(), &altGr);
    if (wanted == 0)
        return false;
    return qtKey == wanted || (altGr && qtKey == Qt::Key_AltGr);
}

void CKeyboardPtt::Release()
{
    releasePending_ = false;
    if (!keyed_)
        return;
    keyed_ = false;
    if (window_.IsTransmitting())
        window_.SetPtt(false);
}

bool CKeyboardPtt::OnPress(unsigned long timestamp)
{
    const bool repeat = repeatStamp_ == timestamp;
    repeatStamp_.reset();
    if (repeat) {
        releasePending_ = false;  // the release was half of an auto-repeat
        return true;
    }
    FinishRelease();
    if (window_.IsTransmitting())
        return false;
    window_.SetPtt(true);
    keyed_ = true;
    return true;
}

bool CKeyboardPtt::OnRelease(unsigned long timestamp, uint32_t nativeScanCode)
{
    if (releasePending_)
        return true;  // the same release seen again on its way to another receiver
    if (!window_.IsTransmitting())
        return false;
    repeatStamp_ = timestamp;
    const std::optional<bool> held = ServerHoldsKey(nativeScanCode);
    if (held.value_or(false))
        return true;  // auto-repeat, or pressed again already
    releasePending_ = true;
    if (held) {
        FinishRelease();
        return true;
    }
    const unsigned serial = ++releaseSerial_;
    // Queued behind the events waiting now, so a repeat's press comes first.
    QMetaObject::invokeMethod(
        this,
        [this, serial] {
            if (serial == releaseSerial_)
                FinishRelease();
        },
        Qt::QueuedConnection);
    return true;
}

void CKeyboardPtt::FinishRelease()
{
    if (!releasePending_)
        return;
    releasePending_ = false;
    keyed_ = false;
    if (window_.IsTransmitting())
        window_.SetPtt(false);
}

bool CKeyboardPtt::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat() || !IsPttKey(key->key()))
            break;
        const bool taken = event->type() == QEvent::KeyPress
                               ? OnPress(key->timestamp())
                               : OnRelease(key->timestamp(), key->nativeScanCode());
        if (taken)
            return true;
        break;
    }
    case QEvent::ApplicationDeactivate:
        FinishRelease();
        Release();
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}
