// A DDE client's retune while the user types in the frequency field: the real main window
// offscreen with its DDE service, and ddeclient in a process of its own.
#include "WindowTestSupport.h"

#include <QKeyEvent>

#include <spawn.h>
#include <sys/wait.h>

#include "NumEdit.h"
#include "ProgramFolder.h"

extern char** environ;

using namespace wndtest;
using ControlFn = WindowFixture::SimControl;

namespace {

// Runs `args` (a program of the build) while the window serves it; its exit status, -1 when it
// hung.
int RunPumping(std::vector<std::string> args)
{
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    if (!PumpUntil([&] { return ::waitpid(pid, &status, WNOHANG) == pid; },
                   std::chrono::seconds(60))) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int Execute(const std::string& command)
{
    return RunPumping({CORVANE_BIN_DIR "/ddeclient", "execute", "DDEServer", command});
}

// Types `digits` over the whole frequency field, as the user would.
void TypeFrequency(CCorvaneDlg& w, CNumEdit& field, const QString& digits)
{
    field.selectAll();
    for (QChar c : digits) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(&field, &press);
    }
    ASSERT_TRUE(w.Controller().State().frequencyTyped);
    ASSERT_EQ(field.GetValue(), digits.toDouble());
}

}  // namespace

TEST(DdeWindow, ARetuneWhileTheUserTypesGoesIntoTheFieldAndToTheRadio)
{
    WindowFixture f;
    ASSERT_TRUE(f.Run([&](CCorvaneDlg& w) {
        auto* field = qobject_cast<CNumEdit*>(w.GetDlgItem(radio::ctl::kFrequency));
        ASSERT_NE(field, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return field->GetValue() >= 30000; }));
        QApplication::setActiveWindow(&w);
        field->setFocus();
        ASSERT_TRUE(PumpUntil([&] { return field->hasFocus(); }));
        // The activation settles first (the tool windows come up beside the window).
        const std::size_t polled = f.Trace().size();
        ASSERT_TRUE(PumpUntil(
            [&] { return f.Trace().find("FE FE 58 E0 03 FD", polled) != std::string::npos; }));
        platform::WaitPumpingMessages(500);
        ASSERT_TRUE(field->hasFocus());
        TypeFrequency(w, *field, QStringLiteral("3573"));
        EXPECT_EQ(Execute("000xcvrfreqmode<xcvrfreq:8>7105,000"), 0);
        EXPECT_TRUE(PumpUntil([&] {
            return f.Trace().find("FE FE 58 E0 05 00 50 10 07 00 FD") != std::string::npos;
        })) << f.Trace();
        EXPECT_EQ(static_cast<int64_t>(field->GetValue()), 7105000);
        EXPECT_TRUE(field->hasFocus());

        // Leaving the field afterwards sends nothing: what was typed is gone.
        const std::size_t after = f.Trace().size();
        w.GetDlgItem(mainwnd::kMode)->setFocus();
        std::size_t polls = after;
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(PumpUntil([&] {
                const std::size_t at = f.Trace().find("FE FE 58 E0 03 FD", polls);
                return at != std::string::npos && (polls = at + 1);
            }));
        EXPECT_EQ(f.Trace().find("E0 05 ", after), std::string::npos) << f.Trace().substr(after);
        EXPECT_EQ(w.Controller().State().frequencyHz, 7105000);
        EXPECT_EQ(static_cast<int64_t>(field->GetValue()), 7105000);

        // An extension client's retune takes the same way.
        field->setFocus();
        TypeFrequency(w, *field, QStringLiteral("3573"));
        EXPECT_EQ(RunPumping({platform::JoinPath(platform::DirName(platform::ExecutablePath()),
                                                 "extension_example_client"),
                              CORVANE_BIN_DIR "/libVekExtension.so", "14200000"}),
                  0);
        EXPECT_TRUE(PumpUntil([&] {
            return f.Trace().find("FE FE 58 E0 05 00 00 20 14 00 FD") != std::string::npos;
        })) << f.Trace();
        EXPECT_EQ(static_cast<int64_t>(field->GetValue()), 14200000);

        // While the radio leaves its frequency unanswered a retune is refused, and it is not
        // sent when the radio answers again.
        const ControlFn control = f.SimRadioControl();
        ASSERT_NE(control, nullptr);
        const std::size_t silenced = f.Trace().size();
        ASSERT_EQ(control("fault silence 03", nullptr, 0), 1);
        ASSERT_TRUE(PumpUntil([&] { return w.Controller().RadioUnanswering(); }));
        EXPECT_EQ(Execute("000xcvrfreqmode<xcvrfreq:9>21074,000<xcvrmode:3>USB"), 1);
        ASSERT_EQ(control("fault clear", nullptr, 0), 1);
        ASSERT_TRUE(PumpUntil([&] { return !w.Controller().RadioUnanswering(); }));
        polls = f.Trace().size();
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(PumpUntil([&] {
                const std::size_t at = f.Trace().find("FE FE 58 E0 03 FD", polls);
                return at != std::string::npos && (polls = at + 1);
            }));
        EXPECT_EQ(f.Trace().find("E0 05 00 40 07 21 00 FD", silenced), std::string::npos);
        EXPECT_EQ(w.Controller().State().frequencyHz, 14200000);
        w.CloseProgram();
    }));
}
