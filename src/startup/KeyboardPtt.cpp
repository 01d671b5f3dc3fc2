#include "KeyboardPtt.h"

#include "MainWindowApi.h"

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
    if (!keyed_)
        return;
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
        bool press = event->type() == QEvent::KeyPress;
        if (press && !window_.IsTransmitting()) {
            window_.SetPtt(true);
            keyed_ = true;
            return true;
        }
        if (!press && window_.IsTransmitting()) {
            window_.SetPtt(false);
            keyed_ = false;
            return true;
        }
        break;
    }
    case QEvent::ApplicationDeactivate: Release(); break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}
