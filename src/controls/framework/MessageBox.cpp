#include "MessageBox.h"

#include "FrameworkContext.h"
#include "Help.h"
#include "Language.h"
#include "WindowStacking.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace framework {
namespace {

// The button sets of a box style (its low four bits).
constexpr unsigned kOkCancel = 0x1;
constexpr unsigned kAbortRetryIgnore = 0x2;
constexpr unsigned kYesNoCancel = 0x3;
constexpr unsigned kRetryCancel = 0x5;
constexpr int kIdAbort = 3;
constexpr int kIdRetry = 4;
constexpr int kIdIgnore = 5;

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int answer;
};

std::vector<ButtonSpec> ButtonsOf(unsigned style)
{
    switch (style & mb::kButtonsMask) {
    case kOkCancel: return {{QMessageBox::Ok, mb::kIdOk}, {QMessageBox::Cancel, mb::kIdCancel}};
    case kAbortRetryIgnore:
        return {{QMessageBox::Abort, kIdAbort},
                {QMessageBox::Retry, kIdRetry},
                {QMessageBox::Ignore, kIdIgnore}};
    case kYesNoCancel:
        return {{QMessageBox::Yes, mb::kIdYes},
                {QMessageBox::No, mb::kIdNo},
                {QMessageBox::Cancel, mb::kIdCancel}};
    case mb::kYesNo: return {{QMessageBox::Yes, mb::kIdYes}, {QMessageBox::No, mb::kIdNo}};
    case kRetryCancel:
        return {{QMessageBox::Retry, kIdRetry}, {QMessageBox::Cancel, mb::kIdCancel}};
    default: return {{QMessageBox::Ok, mb::kIdOk}};
    }
}

QMessageBox::Icon IconOf(unsigned style)
{
    switch (style & 0xF0) {
    case mb::kIconError: return QMessageBox::Critical;
    case mb::kIconQuestion: return QMessageBox::Question;
    case mb::kIconExclamation: return QMessageBox::Warning;
    case mb::kIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

// F1 in a box opens its help topic.
class HelpKey : public QObject {
public:
    HelpKey(QObject* parent, int topic) : QObject(parent), topic_(topic) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress
            && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            OpenHelpTopic(topic_);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    int topic_;
};

}  // namespace

int ShowMessageBox(const MessageBoxRequest& request, QWidget* parent)
{
    KeepDialogsAbove();
    // Over the window that asks, else the main window: a box over the main window would raise
    // it above the window the question is about.
    if (!parent)
        parent = WorkWindow();
    if (!parent)
        parent = MainWindow();
    // A box over a disabled window (one a warning holds disabled) would be disabled with it.
    if (parent != nullptr && !parent->isEnabled()) {
        QWidget* active = QApplication::activeWindow();
        parent = active != nullptr && active->isEnabled() ? active : nullptr;
    }
    std::vector<ButtonSpec> buttons = ButtonsOf(request.style);
    // Closed without a button: the escape answer, as the window system does.
    int escapeAnswer = buttons.front().answer;
    for (const ButtonSpec& b : buttons)
        if (b.answer == mb::kIdCancel || b.answer == mb::kIdNo) {
            escapeAnswer = b.answer;
            break;
        }
    // A box over a window not shown yet (at start-up) would open at that window's corner: it
    // opens in the middle of the screen instead.
    if (parent != nullptr && !parent->window()->isVisible())
        parent = nullptr;
    // On the heap: the parent may be destroyed inside the box's event loop, and takes the box
    // with it; a box on the stack would then be deleted twice.
    QPointer<QMessageBox> box = new QMessageBox(parent);
    QString caption = QString::fromStdString(request.caption);
    if (caption.isEmpty())
        caption = QApplication::applicationDisplayName();
    if (caption.isEmpty())
        caption = QStringLiteral("Corvane");
    box->setWindowTitle(caption);
    // Texts come from language files and other programs: shown as they are, never as markup.
    box->setTextFormat(Qt::PlainText);
    box->setText(QString::fromStdString(request.text));
    box->setIcon(IconOf(request.style));
    for (const ButtonSpec& b : buttons)
        box->addButton(b.button);
    std::size_t def = (request.style & mb::kDefButton2) && buttons.size() > 1 ? 1 : 0;
    box->setDefaultButton(buttons[def].button);
    // Esc answers Cancel or No where the box has them.
    for (const ButtonSpec& b : buttons)
        if (b.answer == mb::kIdCancel || (b.answer == mb::kIdNo && buttons.size() == 2))
            box->setEscapeButton(b.button);
    if (request.helpId != 0)
        box->installEventFilter(new HelpKey(box, request.helpId));
    box->exec();
    if (!box)
        return escapeAnswer;
    int answer = escapeAnswer;
    QAbstractButton* clicked = box->clickedButton();
    for (const ButtonSpec& b : buttons)
        if (clicked && clicked == box->button(b.button)) {
            answer = b.answer;
            break;
        }
    delete box.data();
    return answer;
}

void InstallMessageBoxes(CLanguage& language)
{
    KeepDialogsAbove();
    language.SetMessageBoxSink(
        [](const MessageBoxRequest& request) { return ShowMessageBox(request); });
}

}  // namespace framework
