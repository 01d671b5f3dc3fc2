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

struct CVekDriver::Api {
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
    // The last PTT request keyed the transmitter: Unload unkeys before the library goes.
    std::atomic<bool> keyed{false};
};

// Holds the library for the length of one call.
class CVekDriver::CallGuard {
public:
    explicit CallGuard(CVekDriver& driver) : driver_(driver), entered_(driver.Enter()) {}
    ~CallGuard()
    {
        if (entered_)
            driver_.Leave();
    }
    explicit operator bool() const { return entered_; }

private:
    CVekDriver& driver_;
    bool entered_;
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

CVekDriver::CVekDriver() : api_(new Api) {}

CVekDriver::~CVekDriver()
{
    Unload();
    delete api_;
}

bool CVekDriver::Enter()
{
    // Counted first, then checked: Unload clears the flag first, then waits for the count, so
    // one of the two always sees the other (both sequentially consistent).
    inFlight_.fetch_add(1);
    if (loaded_.load())
        return true;
    inFlight_.fetch_sub(1);
    return false;
}

void CVekDriver::Leave()
{
    inFlight_.fetch_sub(1);
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

    Api::Functions api;
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
    if (!missing.empty()) {
        dlclose(handle);
        std::lock_guard<std::mutex> text(textMutex_);
        lastError_ = path + ": lacks the function(s) " + missing;
        return false;
    }

    api_->fn = api;
    api_->keyed.store(false);
    handle_ = handle;
    {
        std::lock_guard<std::mutex> text(textMutex_);
        path_ = path;
        lastError_.clear();
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
    if (!loaded_.exchange(false))
        return;
    // New calls are refused from here on; wait for the ones already inside the library.
    while (inFlight_.load() != 0)
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    // Whatever path closes the link, the transmitter is not left keyed behind it.
    if (api_->keyed.exchange(false))
        api_->fn.ptt(0);
    api_->fn.stop();
    dlclose(handle_);
    handle_ = nullptr;
    api_->fn = Api::Functions{};
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
    return guard ? api_->fn.init(post, context, msgRx, msgAudio, msgHelp) : 0;
}

int CVekDriver::IsSupportAudio()
{
    CallGuard guard(*this);
    return guard ? api_->fn.isSupportAudio() : 0;
}

int CVekDriver::IsSupportPTT()
{
    CallGuard guard(*this);
    return guard ? api_->fn.isSupportPTT() : 0;
}

int CVekDriver::SendCommand(const uint8_t* bytes, int length)
{
    if (bytes == nullptr || length <= 0)
        return 0;
    CallGuard guard(*this);
    return guard ? api_->fn.sendCommand(bytes, length) : 0;
}

const uint8_t* CVekDriver::GetBuffRx(intptr_t handle)
{
    CallGuard guard(*this);
    return guard ? api_->fn.getBuffRx(handle) : nullptr;
}

const uint8_t* CVekDriver::GetBuffAudio(intptr_t handle)
{
    CallGuard guard(*this);
    return guard ? api_->fn.getBuffAudio(handle) : nullptr;
}

bool CVekDriver::CopyBuffRx(intptr_t handle, uint8_t* out, int length, int maxLength)
{
    if (out == nullptr || length < 1 || length > maxLength)
        return false;
    CallGuard guard(*this);
    if (!guard)
        return false;
    const uint8_t* bytes = api_->fn.getBuffRx(handle);
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
    const uint8_t* bytes = api_->fn.getBuffAudio(handle);
    if (bytes == nullptr)
        return false;
    std::memcpy(out, bytes, static_cast<size_t>(length));
    return true;
}

int CVekDriver::IsConnected()
{
    CallGuard guard(*this);
    return guard ? api_->fn.isConnected() : 0;
}

int CVekDriver::PTT(int on)
{
    CallGuard guard(*this);
    if (!guard)
        return 0;
    // Noted before the call: a key request that fails half-way still gets its unkey.
    if (on != 0)
        api_->keyed.store(true);
    const int result = api_->fn.ptt(on);
    if (on == 0)
        api_->keyed.store(false);
    return result;
}

int CVekDriver::AudioStart()
{
    CallGuard guard(*this);
    return guard ? api_->fn.audioStart() : 0;
}

int CVekDriver::AudioStop()
{
    CallGuard guard(*this);
    return guard ? api_->fn.audioStop() : 0;
}

int CVekDriver::AudioPause(int pause)
{
    CallGuard guard(*this);
    return guard ? api_->fn.audioPause(pause) : 0;
}

int CVekDriver::OpenCom(int port)
{
    CallGuard guard(*this);
    return guard ? api_->fn.openCom(port) : 0;
}

int CVekDriver::CloseCom()
{
    CallGuard guard(*this);
    return guard ? api_->fn.closeCom() : 0;
}

int CVekDriver::SetDTR(int port, int state)
{
    CallGuard guard(*this);
    return guard ? api_->fn.setDTR(port, state) : 0;
}

int CVekDriver::SetRTS(int port, int state)
{
    CallGuard guard(*this);
    return guard ? api_->fn.setRTS(port, state) : 0;
}

int CVekDriver::Setup(void* owner, unsigned msgHelp)
{
    CallGuard guard(*this);
    return guard ? api_->fn.setup(owner, msgHelp) : 0;
}

bool CVekDriver::WriteFrame(const uint8_t* bytes, int length)
{
    return SendCommand(bytes, length) != 0;
}

}  // namespace cat
