// The main window against the simulated radio's driver when the radio leaves one command
// unanswered: the link goes on, a client's frequency still reaches the radio, and the status
// line says the radio is not answering until it answers again.
#include "WindowTestSupport.h"

#include <atomic>
#include <cstdio>
#include <thread>

#include "Process.h"
#include "ProgramFolder.h"

using namespace wndtest;

namespace {

using ControlFn = WindowFixture::SimControl;
bool Silent(CCorvaneDlg& w)
{
    return w.GetDlgItemText(radio::ctl::kStatus).find("RTX not answering") != std::string::npos;
}

}  // namespace

TEST(MainWindowLink, ASilentCommandHoldsNothingUpAndIsShownUntilAnswered)
{
    WindowFixture f;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        const ControlFn control = f.SimRadioControl();
        ASSERT_NE(control, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return w.Controller().State().frequencyKnown; }));
        EXPECT_FALSE(Silent(w));

        // The attenuator read goes unanswered from now on.
        const size_t start = f.Trace().size();
        const auto faulted = std::chrono::steady_clock::now();
        ASSERT_EQ(control("fault silence 11", nullptr, 0), 1);
        const auto heard = [&](const std::string& frame, size_t from) {
            return f.Trace().find(frame, from) != std::string::npos;
        };
        ASSERT_TRUE(PumpUntil([&] { return heard("FE FE 58 E0 11 FD", start); }));
        const auto stalled = std::chrono::steady_clock::now();

        // A client sets a frequency, from a process of its own, while the read stalls.
        std::atomic<int> client{-2};
        std::thread run([&] {
            const platform::RunResult r = platform::SpawnAndWait(
                {platform::JoinPath(platform::DirName(platform::ExecutablePath()),
                                    "extension_example_client"),
                 CORVANE_BIN_DIR "/libVekExtension.so", "7050000"},
                {}, 30000);
            client = r.Succeeded() ? 0 : r.exitCode;
        });
        const std::string set = "FE FE 58 E0 05 00 00 05 07 00 FD";
        const bool reached = PumpUntil([&] { return heard(set, start); });
        const auto since = [](std::chrono::steady_clock::time_point t) {
            return static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now() - t)
                                              .count());
        };
        const long long afterStall = since(stalled), afterFault = since(faulted);
        PumpUntil([&] { return client != -2; });
        run.join();
        EXPECT_EQ(client, 0);
        ASSERT_TRUE(reached) << f.Trace().substr(start);
        std::printf(
            "the set reached the radio %lld ms after the read stalled, %lld ms after the "
            "fault began\n",
            afterStall, afterFault);

        // Shown while the read stays unanswered; polling goes on meanwhile.
        EXPECT_TRUE(PumpUntil([&] { return Silent(w); })) << w.GetDlgItemText(radio::ctl::kStatus);
        const size_t shown = f.Trace().size();
        EXPECT_TRUE(PumpUntil([&] { return heard("FE FE 58 E0 03 FD", shown); }));
        EXPECT_TRUE(Silent(w));

        // The radio answers again: the state goes by itself.
        ASSERT_EQ(control("fault clear", nullptr, 0), 1);
        EXPECT_TRUE(PumpUntil([&] { return !Silent(w); })) << w.GetDlgItemText(radio::ctl::kStatus);
        EXPECT_EQ(w.Controller().State().frequencyHz, 7050000);
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
}
