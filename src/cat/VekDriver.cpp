#include "VekDriver.h"

#include <chrono>
#include <csignal>
#include <cstring>
#include <dlfcn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "SharedObject.h"

namespace cat {

// One loaded library. Each call holds it, so a call that never comes back keeps it mapped; the
// last holder closes it.
struct CVekDriver::Library {
    struct Functions {
        decltype(&::DrvInit) init = nullptr;
        decltype(&::DrvIsSupportAudio) isSupportAudio = nullptr;
        decltype(&::DrvIsSupportPTT) isSupportPTT = nullptr;
        decltype(&::DrvSendCommand) sendCommand = nullptr;
        decltype(&::DrvGetBuffRx) getBuffRx = nullptr;
        decltype(&::DrvGetBuffAudio) getBuffAudio = nullptr;
        decltype(&::DrvIsConnected) isConnected = nullptr;
        decltype(&::DrvPTT) ptt = nullptr;
        decltype(&::DrvAudioStart) audioStart = nullptr;
        decltype(&::DrvAudioStop) audioStop = nullptr;
        decltype(&::DrvAudioPause) audioPause = nullptr;
        decltype(&::DrvOpenCom) openCom = nullptr;
        decltype(&::DrvCloseCom) closeCom = nullptr;
        decltype(&::DrvSetDTR) setDTR = nullptr;
        decltype(&::DrvSetRTS) setRTS = nullptr;
        decltype(&::DrvSetup) setup = nullptr;
        decltype(&::DrvStop) stop = nullptr;
    } fn;
    void* handle = nullptr;
    // The last PTT request keyed the transmitter: Unload unkeys before the library goes.
    std::atomic<bool> keyed{false};
    std::atomic<int> inFlight{0};

    ~Library()
    {
        if (handle != nullptr)
            dlclose(handle);
    }
};

// Holds the library for the length of one call; after the call it touches only the library.
class CVekDriver::CallGuard {
public:
    explicit CallGuard(CVekDriver& driver) : library_(driver.Enter()) {}
    ~CallGuard()
    {
        if (library_)
            library_->inFlight.fetch_sub(1);
    }
    explicit operator bool() const { return library_ != nullptr; }
    Library* operator->() const { return library_.get(); }

private:
    std::shared_ptr<Library> library_;
};

namespace {

template <typename Fn>
bool Resolve(void* handle, const char* name, Fn& target, std::string& missing)
{
    dlerror();
    void* symbol = dlsym(handle, name);
    if (symbol == nullptr) {
        if (!missing.empty())
            missing += ", ";
        missing += name;
        return false;
    }
    target = reinterpret_cast<Fn>(symbol);
    return true;
}

constexpr const char* kFunctionNames[] = {
    "DrvInit",       "DrvIsSupportAudio", "DrvIsSupportPTT", "DrvSendCommand",
    "DrvGetBuffRx",  "DrvGetBuffAudio",   "DrvIsConnected",  "DrvPTT",
    "DrvAudioStart", "DrvAudioStop",      "DrvAudioPause",   "DrvOpenCom",
    "DrvCloseCom",   "DrvSetDTR",         "DrvSetRTS",       "DrvSetup",
    "DrvStop"};

enum ProbeExit { kProbeLoaded = 0, kProbeNotLoaded = 1, kProbeLacks = 2 };

// In the probe child: only what is safe after fork, then _exit.
[[noreturn]] void ProbeInChild(const char* path)
{
    void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        _exit(kProbeNotLoaded);
    for (const char* name : kFunctionNames)
        if (dlsym(handle, name) == nullptr)
            _exit(kProbeLacks);
    _exit(kProbeLoaded);
}

}  // namespace

std::optional<std::string> ProbeDriver(const std::string& path)
{
    // A damaged library can abort the loader or crash its constructors: that must end a
    // child, never the program.
    const pid_t child = fork();
    if (child < 0)
        return std::nullopt;  // no verdict: loaded as before
    if (child == 0) {
        std::signal(SIGPIPE, SIG_DFL);
        ProbeInChild(path.c_str());
    }
    int status = 0;
    pid_t waited = -1;
    // A probe that hangs (a lock the fork copied held) gives no verdict; a generous limit.
    for (int i = 0; i < 30000; ++i) {
        waited = waitpid(child, &status, WNOHANG);
        if (waited != 0)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    if (waited == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return std::nullopt;
    }
    if (waited < 0)
        return std::nullopt;
    if (WIFSIGNALED(status))
        return path + ": loading it crashed (" + strsignal(WTERMSIG(status)) + ")";
    if (!WIFEXITED(status))
        return std::nullopt;
    switch (WEXITSTATUS(status)) {
    case kProbeLoaded: return std::nullopt;
    case kProbeNotLoaded:
    case kProbeLacks: return std::nullopt;  // the load below tells why, in words
    default:
        return path + ": the loader gave up on it (status " + std::to_string(WEXITSTATUS(status))
               + ")";
    }
}

CVekDriver::CVekDriver() = default;

CVekDriver::~CVekDriver()
{
    Unload();
}

std::shared_ptr<CVekDriver::Library> CVekDriver::Enter()
{
    std::lock_guard<std::mutex> lock(libraryMutex_);
    if (library_)
        library_->inFlight.fetch_add(1);
    return library_;
}

bool CVekDriver::Load(const std::string& path)
{
    std::lock_guard<std::mutex> lock(loadMutex_);
    UnloadLocked();

    // dlopen maps the file as its headers say: a cut or foreign file could crash it. A bare
    // name is searched for by dlopen, so there is no file to look at first.
    if (path.find('/') != std::string::npos) {
        if (const std::optional<std::string> problem = platform::SharedObjectProblem(path)) {
            std::lock_guard<std::mutex> text(textMutex_);
            lastError_ = path + ": " + *problem;
            return false;
        }
        if (std::optional<std::string> problem = ProbeDriver(path)) {
            std::lock_guard<std::mutex> text(textMutex_);
            lastError_ = std::move(*problem);
            return false;
        }
    }
    dlerror();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();  // names the file itself
        std::lock_guard<std::mutex> text(textMutex_);
        lastError_ = reason != nullptr ? reason : path + ": cannot be loaded";
        return false;
    }

    auto library = std::make_shared<Library>();
    Library::Functions& api = library->fn;
    std::string missing;
    Resolve(handle, "DrvInit", api.init, missing);
    Resolve(handle, "DrvIsSupportAudio", api.isSupportAudio, missing);
    Resolve(handle, "DrvIsSupportPTT", api.isSupportPTT, missing);
    Resolve(handle, "DrvSendCommand", api.sendCommand, missing);
    Resolve(handle, "DrvGetBuffRx", api.getBuffRx, missing);
    Resolve(handle, "DrvGetBuffAudio", api.getBuffAudio, missing);
    Resolve(handle, "DrvIsConnected", api.isConnected, missing);
    Resolve(handle, "DrvPTT", api.ptt, missing);
    Resolve(handle, "DrvAudioStart", api.audioStart, missing);
    Resolve(handle, "DrvAudioStop", api.audioStop, missing);
    Resolve(handle, "DrvAudioPause", api.audioPause, missing);
    Resolve(handle, "DrvOpenCom", api.openCom, missing);
    Resolve(handle, "DrvCloseCom", api.closeCom, missing);
    Resolve(handle, "DrvSetDTR", api.setDTR, missing);
    Resolve(handle, "DrvSetRTS", api.setRTS, missing);
    Resolve(handle, "DrvSetup", api.setup, missing);
    Resolve(handle, "DrvStop", api.stop, missing);
    library->handle = handle;
    if (!missing.empty()) {
        std::lock_guard<std::mutex> text(textMutex_);
        lastError_ = path + ": lacks the function(s) " + missing;
        return false;
    }

    {
        std::lock_guard<std::mutex> text(textMutex_);
        path_ = path;
        lastError_.clear();
    }
    {
        std::lock_guard<std::mutex> lock(libraryMutex_);
        library_ = std::move(library);
    }
    loaded_.store(true);
    return true;
}

void CVekDriver::Unload()
{
    std::lock_guard<std::mutex> lock(loadMutex_);
    UnloadLocked();
}

void CVekDriver::UnloadLocked()
{
    std::shared_ptr<Library> library;
    {
        std::lock_guard<std::mutex> lock(libraryMutex_);
        library = std::move(library_);  // new calls are refused from here on
    }
    loaded_.store(false);
    if (!library)
        return;
    // Wait for the calls already inside the library, but not for one that never returns: its
    // hold keeps the library mapped, and the library is closed when it comes back.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kCallWaitMs);
    while (library->inFlight.load() != 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    // Whatever path closes the link, the transmitter is not left keyed behind it.
    if (library->keyed.exchange(false))
        library->fn.ptt(0);
    library->fn.stop();
    std::lock_guard<std::mutex> text(textMutex_);
    path_.clear();
}

std::string CVekDriver::Path() const
{
    std::lock_guard<std::mutex> text(textMutex_);
    return path_;
}

std::string CVekDriver::LastError() const
{
    std::lock_guard<std::mutex> text(textMutex_);
    return lastError_;
}

int CVekDriver::Init(DrvPostFn post, void* context, unsigned msgRx, unsigned msgAudio,
                     unsigned msgHelp)
{
    CallGuard guard(*this);
    return guard ? guard->fn.init(post, context, msgRx, msgAudio, msgHelp) : 0;
}

int CVekDriver::IsSupportAudio()
{
    CallGuard guard(*this);
    return guard ? guard->fn.isSupportAudio() : 0;
}

int CVekDriver::IsSupportPTT()
{
    CallGuard guard(*this);
    return guard ? guard->fn.isSupportPTT() : 0;
}

int CVekDriver::SendCommand(const uint8_t* bytes, int length)
{
    if (bytes == nullptr || length <= 0)
        return 0;
    CallGuard guard(*this);
    return guard ? guard->fn.sendCommand(bytes, length) : 0;
}

const uint8_t* CVekDriver::GetBuffRx(intptr_t handle)
{
    CallGuard guard(*this);
    return guard ? guard->fn.getBuffRx(handle) : nullptr;
}

const uint8_t* CVekDriver::GetBuffAudio(intptr_t handle)
{
    CallGuard guard(*this);
    return guard ? guard->fn.getBuffAudio(handle) : nullptr;
}

bool CVekDriver::CopyBuffRx(intptr_t handle, uint8_t* out, int length, int maxLength)
{
    if (out == nullptr || length < 1 || length > maxLength)
        return false;
    CallGuard guard(*this);
    if (!guard)
        return false;
    const uint8_t* bytes = guard->fn.getBuffRx(handle);
    if (bytes == nullptr)
        return false;
    std::memcpy(out, bytes, static_cast<size_t>(length));
    return true;
}

bool CVekDriver::CopyBuffAudio(intptr_t handle, uint8_t* out, int length, int maxLength)
{
    if (out == nullptr || length < 1 || length > maxLength)
        return false;
    CallGuard guard(*this);
    if (!guard)
        return false;
    const uint8_t* bytes = guard->fn.getBuffAudio(handle);
    if (bytes == nullptr)
        return false;
    std::memcpy(out, bytes, static_cast<size_t>(length));
    return true;
}

int CVekDriver::IsConnected()
{
    CallGuard guard(*this);
    return guard ? guard->fn.isConnected() : 0;
}

int CVekDriver::PTT(int on)
{
    CallGuard guard(*this);
    if (!guard)
        return 0;
    // Noted before the call: a key request that fails half-way still gets its unkey.
    if (on != 0)
        guard->keyed.store(true);
    const int result = guard->fn.ptt(on);
    if (on == 0)
        guard->keyed.store(false);
    return result;
}

int CVekDriver::AudioStart()
{
    CallGuard guard(*this);
    return guard ? guard->fn.audioStart() : 0;
}

int CVekDriver::AudioStop()
{
    CallGuard guard(*this);
    return guard ? guard->fn.audioStop() : 0;
}

int CVekDriver::AudioPause(int pause)
{
    CallGuard guard(*this);
    return guard ? guard->fn.audioPause(pause) : 0;
}

int CVekDriver::OpenCom(int port)
{
    CallGuard guard(*this);
    return guard ? guard->fn.openCom(port) : 0;
}

int CVekDriver::CloseCom()
{
    CallGuard guard(*this);
    return guard ? guard->fn.closeCom() : 0;
}

int CVekDriver::SetDTR(int port, int state)
{
    CallGuard guard(*this);
    return guard ? guard->fn.setDTR(port, state) : 0;
}

int CVekDriver::SetRTS(int port, int state)
{
    CallGuard guard(*this);
    return guard ? guard->fn.setRTS(port, state) : 0;
}

int CVekDriver::Setup(void* owner, unsigned msgHelp)
{
    CallGuard guard(*this);
    return guard ? guard->fn.setup(owner, msgHelp) : 0;
}

bool CVekDriver::WriteFrame(const uint8_t* bytes, int length)
{
    return SendCommand(bytes, length) != 0;
}

bool CVekDriver::MayHang() const
{
    return true;
}

}  // namespace cat
