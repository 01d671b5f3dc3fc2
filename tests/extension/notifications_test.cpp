// Change notifications through ExtSetHwnd and ExtDispatchNotifications, and the example client in
// C against a running program.
#include "ExtensionTestSupport.h"

#include "Process.h"

#include <pthread.h>

#include <algorithm>
#include <stdexcept>
#include <tuple>

using namespace ext_test;

namespace {

const char* kTitle = "Corvane Icom 706 Control - 1.0  -  RTX: IC706MKII";

using Told = std::tuple<std::uint64_t, int, int>;

void Collect(std::uint64_t token, std::int32_t code, std::int32_t value, void* user)
{
    static_cast<std::vector<Told>*>(user)->emplace_back(token, code, value);
}

// Polls and dispatches until `count` notifications have come or the descriptor ends.
std::vector<Told> Receive(Library& l, std::size_t count)
{
    std::vector<Told> told;
    DispatchUntil(l, Collect, &told, [&] { return told.size() >= count; });
    return told;
}

}  // namespace

TEST(ExtensionNotifications, ArriveInTheOrderRaisedWithTheClientsToken)
{
    Library& l = Library::Get();
    ClearRegistry();
    MainProgramProcess program(StandInArgs(kTitle));
    ASSERT_TRUE(program.WaitReady());
    ASSERT_EQ(l.ExtInit(), 1);
    ASSERT_EQ(l.ExtSetHwnd(0x1234567890ULL), 0);
    ASSERT_EQ(l.ExtSetHwnd(0x1234567890ULL), 0);  // told once
    EXPECT_EQ(program.Registrations(), 1);

    const std::vector<std::pair<int, int>> raised = {{0, 14070000}, {2, 4},     {21, 1},
                                                     {19, 9},       {41, -600}, {11, 0}};
    for (const auto& [code, value] : raised)
        EXPECT_EQ(program.Notify(code, value), 1);
    const std::vector<Told> told = Receive(l, raised.size());
    ASSERT_EQ(told.size(), raised.size());
    for (std::size_t i = 0; i < raised.size(); ++i)
        EXPECT_EQ(told[i], Told(0x1234567890ULL, raised[i].first, raised[i].second)) << i;

    // A change made through the library is announced too; ExtInit finding the same program keeps
    // the registration.
    ASSERT_EQ(l.ExtInit(), 1);
    EXPECT_EQ(l.ExtSetFrequency(7050000), 0);
    EXPECT_EQ(Receive(l, 1), std::vector<Told>{Told(0x1234567890ULL, 0, 7050000)});
}

TEST(ExtensionNotifications,
     EachTokenIsToldInRegistrationOrderAndTheEndOfTheProgramEndsTheDescriptor)
{
    Library& l = Library::Get();
    ClearRegistry();
    MainProgramProcess program(StandInArgs(kTitle));
    ASSERT_TRUE(program.WaitReady());
    ASSERT_EQ(l.ExtInit(), 1);
    ASSERT_EQ(l.ExtSetHwnd(2), 0);
    ASSERT_EQ(l.ExtSetHwnd(1), 0);
    EXPECT_EQ(program.Notify(6, 1), 2);
    EXPECT_EQ(Receive(l, 2), (std::vector<Told>{Told(2, 6, 1), Told(1, 6, 1)}));

    // What was raised before the end still arrives; then the descriptor is -1.
    EXPECT_EQ(program.Notify(8, 1), 2);
    program.Kill();
    std::vector<Told> told;
    EXPECT_EQ(DispatchUntil(l, Collect, &told, [] { return false; }), -1);
    EXPECT_EQ(told, (std::vector<Told>{Told(2, 8, 1), Told(1, 8, 1)}));
    EXPECT_EQ(l.ExtSetHwnd(3), -1);
}

// A client written in C++ whose callback throws: the exception must not unwind through the
// library's C exports, and the notifications after it still arrive.
TEST(ExtensionNotifications, ACallbackThatThrowsDoesNotLeaveTheLibrary)
{
    Library& l = Library::Get();
    ClearRegistry();
    MainProgramProcess program(StandInArgs(kTitle));
    ASSERT_TRUE(program.WaitReady());
    ASSERT_EQ(l.ExtInit(), 1);
    ASSERT_EQ(l.ExtSetHwnd(77), 0);
    for (int value = 1; value <= 3; ++value)
        EXPECT_EQ(program.Notify(0, value), 1);

    struct Seen {
        std::vector<int> values;
    } seen;
    auto throwing = [](std::uint64_t, std::int32_t, std::int32_t value, void* user) {
        static_cast<Seen*>(user)->values.push_back(value);
        if (value == 1)
            throw std::runtime_error("client failure");
    };
    bool escaped = false;
    int fd = -1;
    for (int round = 0; round < 100 && seen.values.size() < 3; ++round) {
        try {
            fd = l.ExtDispatchNotifications(throwing, &seen);
        } catch (...) {
            escaped = true;
            break;
        }
        if (fd < 0)
            break;
        pollfd p{fd, POLLIN, 0};
        if (seen.values.size() < 3 && ::poll(&p, 1, 30000) <= 0)
            break;  // a guard, not a timing check
    }
    EXPECT_FALSE(escaped);
    EXPECT_EQ(seen.values, (std::vector<int>{1, 2, 3}));
    EXPECT_GE(fd, 0);
}

TEST(ExtensionNotifications, AskingOnlyForTheDescriptorLeavesTheNotificationsWaiting)
{
    Library& l = Library::Get();
    ClearRegistry();
    MainProgramProcess program(StandInArgs(kTitle));
    ASSERT_TRUE(program.WaitReady());
    ASSERT_EQ(l.ExtInit(), 1);
    ASSERT_EQ(l.ExtSetHwnd(5), 0);
    EXPECT_EQ(program.Notify(0, 3500000), 1);
    // Until it has arrived, the descriptor is all there is to take.
    pollfd p{l.ExtDispatchNotifications(nullptr, nullptr), POLLIN, 0};
    ASSERT_GE(p.fd, 0);
    ASSERT_EQ(::poll(&p, 1, 30000), 1);  // a guard, not a timing check
    EXPECT_EQ(l.ExtDispatchNotifications(nullptr, nullptr), p.fd);
    EXPECT_EQ(Receive(l, 1), std::vector<Told>{Told(5, 0, 3500000)});
}

// A host thread that ends itself (pthread_exit, cancellation) inside the library unwinds through
// it; the library must let that unwinding pass, or the runtime ends the host process.
TEST(ExtensionNotifications, AThreadThatEndsInsideACallbackEndsAlone)
{
    Library& l = Library::Get();
    ClearRegistry();
    MainProgramProcess program(StandInArgs(kTitle));
    ASSERT_TRUE(program.WaitReady());
    ASSERT_EQ(l.ExtInit(), 1);
    ASSERT_EQ(l.ExtSetHwnd(9), 0);
    EXPECT_EQ(program.Notify(6, 1), 1);
    // In a child, so that a failure ends the child rather than the tests.
    const pid_t child = ::fork();
    if (child == 0) {
        pthread_t thread;
        auto body = [](void* arg) -> void* {
            Library& lib = *static_cast<Library*>(arg);
            auto ending = [](std::uint64_t, std::int32_t, std::int32_t, void*) {
                ::pthread_exit(nullptr);
            };
            DispatchUntil(lib, ending, nullptr, [] { return false; });
            return nullptr;
        };
        if (::pthread_create(&thread, nullptr, body, &l) != 0)
            ::_exit(2);
        ::pthread_join(thread, nullptr);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(ExtensionExampleClient, SetsAndReadsBackAFrequencyAndIsTold)
{
    ClearRegistry();
    MainProgramProcess program(StandInArgs(kTitle));
    ASSERT_TRUE(program.WaitReady());
    const platform::RunResult run = platform::SpawnAndWait(
        {TestBinary("extension_example_client"), CORVANE_BIN_DIR "/libVekExtension.so", "21074000"},
        {}, 60000);
    EXPECT_TRUE(run.Succeeded()) << run.exitCode;
    // It read frequency, mode and S-meter, then set the frequency and read it back.
    std::vector<std::string> seen;
    for (int i = 0; i < 5; ++i)
        seen.push_back(program.NextRequest());
    std::sort(seen.begin(), seen.begin() + 3);
    EXPECT_EQ(seen, (std::vector<std::string>{"0 0", "19 0", "2 0", "1 21074000", "0 0"}));
}
