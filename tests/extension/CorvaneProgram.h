// The real program for the extension library's whole-program tests: Corvane started in a
// temporary program folder with the simulated radio's driver, offscreen, and clients that load
// the library with dlopen in processes of their own, as other programs do.
#pragma once

#include "Discovery.h"
#include "ExtensionTestSupport.h"
#include "RuntimeFolder.h"

#include <filesystem>
#include <functional>
#include <map>
#include <memory>

namespace ext_test {

// A guard against a hanging test, not a timing check.
inline bool WaitFor(const std::function<bool()>& pred)
{
    for (int i = 0; i < 3000 && !pred(); ++i)
        ::usleep(10000);
    return pred();
}

// A program folder holding Corvane, the simulated radio's driver, the language file, tolvash and
// the first-run settings. The driver writes what the program asks of it to the folder's trace.
struct CorvaneFolder {
    testing_support::TempDir folder{"corvane-ext-program"};
    std::string trace;

    CorvaneFolder()
    {
        namespace fs = std::filesystem;
        const std::string bin = CORVANE_BIN_DIR;
        fs::create_directories(folder / "Drivers");
        fs::copy_file(bin + "/Corvane", folder / "Corvane");
        fs::copy_file(bin + "/Drivers/SimRadio.so", folder / "Drivers/SimRadio.so");
        fs::copy_file(bin + "/English.lng", folder / "English.lng");
        fs::copy_file(bin + "/Corvane.html", folder / "Corvane.html");
        fs::copy_file(bin + "/tolvash", folder / "tolvash");
        fs::copy_file(std::string(CORVANE_SOURCE_DIR) + "/resources/FirstRun.ini",
                      folder / "Corvane.ini");
        trace = folder / "radio-trace.txt";
    }
    ~CorvaneFolder() { ::unsetenv("SIMRADIO_TRACE"); }
    CorvaneFolder(const CorvaneFolder&) = delete;
    CorvaneFolder& operator=(const CorvaneFolder&) = delete;

    // For a program of this folder started next, by the test or by a client.
    void SetEnvironment() const
    {
        ::setenv("SIMRADIO_TRACE", trace.c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }

    std::string Trace() const { return testing_support::GetFile(trace); }

    // Waits until the radio has heard `frame` at or after `from` in the trace, and moves `from`
    // past it; a failure of the test when it never does. A set still queued when the next set of
    // the same switch comes is replaced by it; a test that wants both on the bus waits for the
    // first.
    bool WaitHeard(const std::string& frame, std::size_t& from) const
    {
        std::size_t at = std::string::npos;
        if (!WaitFor([&] { return (at = Trace().find(frame, from)) != std::string::npos; })) {
            ADD_FAILURE() << "the radio never heard " << frame << Trace().substr(from);
            return false;
        }
        from = at + frame.size();
        return true;
    }
    bool Saw(const std::string& line) const { return Trace().find(line) != std::string::npos; }

    // Polling the radio, and `pid` listening (any program when 0): only then may a client search
    // (an ExtInit that finds no program would start one from the folder the program recorded).
    bool Serving(pid_t pid = 0) const
    {
        return WaitFor([&] {
            if (!Saw("FE FE 58 E0 15 02 FD"))
                return false;
            const platform::ipc::FolderResult runtime = platform::ipc::RuntimeFolder();
            for (const platform::ipc::ServerSocket& socket :
                 platform::ipc::ListServerSockets(runtime.path))
                if (pid == 0 || socket.pid == pid)
                    return true;
            return false;
        });
    }
};

// Corvane started by the test in a program folder of its own; SIGTERM ends it. Its stderr goes
// to the folder's "stderr.txt" when asked.
struct Corvane : CorvaneFolder {
    std::unique_ptr<MainProgramProcess> process;

    explicit Corvane(bool keepStderr = false)
    {
        SetEnvironment();
        process = std::make_unique<MainProgramProcess>(
            std::vector<std::string>{folder / "Corvane"},
            keepStderr ? folder / "stderr.txt" : std::string());
    }
    std::string Stderr() const { return testing_support::GetFile(folder / "stderr.txt"); }

    pid_t Pid() const { return process->Pid(); }
    bool Started() const { return Serving(Pid()); }

    int Terminate()
    {
        ::kill(process->Pid(), SIGTERM);
        return process->WaitExit();
    }
};

// A client in a process of its own: the library is loaded there, never in the test process.
// The body reports with Say("key", value), one line each; Hold() waits until the test releases it.
class Client {
public:
    struct Link {
        int out;
        int in;
        void Say(const std::string& key, long long value) const
        {
            const std::string line = key + " " + std::to_string(value) + "\n";
            if (::write(out, line.data(), line.size()) < 0)
                ::_exit(3);
        }
        void Hold() const
        {
            char c;
            while (::read(in, &c, 1) > 0) {
            }
        }
    };

    explicit Client(const std::function<void(Library&, const Link&)>& body)
    {
        int up[2], down[2];
        if (::pipe2(up, O_CLOEXEC) != 0 || ::pipe2(down, O_CLOEXEC) != 0)
            return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(up[0]);
            ::close(down[1]);
            Library& l = Library::Get();
            const Link link{up[1], down[0]};
            link.Say("loaded", l.missing.empty() ? 1 : 0);
            if (l.missing.empty())
                body(l, link);
            link.Say("done", 1);
            ::_exit(0);  // no test-process destructors (the private folders) in the child
        }
        ::close(up[1]);
        ::close(down[0]);
        fromChild_ = PipeLines(up[0]);
        toChild_ = down[1];
    }
    ~Client()
    {
        Release();
        Kill();
    }
    // Ends the child as kill -9 does: nothing it holds is given back by itself.
    void Kill()
    {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // The next line's key and value; key "" when the child has ended or says nothing for long.
    std::pair<std::string, long long> Next()
    {
        const std::string line = fromChild_.Next();
        if (line.empty())
            return {};
        const std::size_t space = line.find(' ');
        return {line.substr(0, space), std::atoll(line.c_str() + space + 1)};
    }
    void Release()
    {
        if (toChild_ >= 0)
            ::close(toChild_);
        toChild_ = -1;
    }
    // Every line until "done", in order, with the exit status of the child.
    std::vector<std::pair<std::string, long long>> Finish(int* status = nullptr)
    {
        Release();
        std::vector<std::pair<std::string, long long>> lines;
        for (auto line = Next(); !line.first.empty() && line.first != "done"; line = Next())
            lines.push_back(line);
        int s = 0;
        ::waitpid(pid_, &s, 0);
        pid_ = -1;
        if (status)
            *status = WIFEXITED(s) ? WEXITSTATUS(s) : -1;
        return lines;
    }

private:
    pid_t pid_ = -1;
    PipeLines fromChild_;
    int toChild_ = -1;
};

inline std::map<std::string, long long> AsMap(
    const std::vector<std::pair<std::string, long long>>& lines)
{
    std::map<std::string, long long> m;
    for (const auto& [key, value] : lines)
        m[key] = value;
    return m;
}

// In the client: the getter's value once it equals `wanted`, or its last value (the program may
// take the radio's answer first).
inline int32_t Settled(int32_t (*get)(), int32_t wanted)
{
    int32_t v = get();
    for (int i = 0; i < 500 && v != wanted; ++i) {
        ::usleep(10000);
        v = get();
    }
    return v;
}

using Told = std::pair<int, int>;

inline void Collect(std::uint64_t, std::int32_t code, std::int32_t value, void* user)
{
    static_cast<std::vector<Told>*>(user)->emplace_back(code, value);
}

// In the client: dispatches until a frequency notification of `hz` has come or the descriptor ends.
inline std::vector<Told> ReceiveUntilFrequency(Library& l, int hz, std::vector<Told>& told)
{
    DispatchUntil(l, Collect, &told, [&] {
        for (const Told& t : told)
            if (t == Told(0, hz))
                return true;
        return false;
    });
    return told;
}

}  // namespace ext_test
