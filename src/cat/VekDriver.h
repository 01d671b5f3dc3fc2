// The binding to the radio driver library ("VekDriver.so" in the program folder): loads it with
// dlopen, resolves the plain C exports of VekDriverApi.h, and wraps every call.
//
// Calls may come from several threads (the worker sends, the GUI does the rest). Each call holds
// the library while it runs; Unload refuses new calls at once, waits (up to kCallWaitMs) until the
// running ones have returned, then calls DrvStop. The library is closed when the last call
// holding it has returned, so no thread ever runs in unloaded code, and a call that never returns
// holds nothing of this object.
// When no library is loaded every call is a safe no-op that answers 0 (or null).
//
// The posting callback handed to Init runs on the driver's threads and must only post: it must
// not call back into this binding's Unload.
#pragma once

#include <atomic>
#include <memory>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include "CivTransport.h"
#include "VekDriverApi.h"

namespace cat {

// Loads the library at `path` in a short-lived child process and looks up its functions there:
// why it must not be loaded here (it crashed or aborted the loader), or nothing when the child
// loaded it or could not say.
std::optional<std::string> ProbeDriver(const std::string& path);

class CVekDriver : public ICivWriter {
public:
    static constexpr const char* kLibraryName = "VekDriver.so";
    // How long Unload waits for calls inside the library.
    static constexpr int kCallWaitMs = 1000;

    CVekDriver();
    ~CVekDriver() override;
    CVekDriver(const CVekDriver&) = delete;
    CVekDriver& operator=(const CVekDriver&) = delete;

    // Loads the library at `path` (a loaded one is unloaded first). False, with the reason in
    // LastError ("<file>: <why>"), when the file is no complete shared object of this machine,
    // dlopen refuses it or it lacks one of the driver functions.
    bool Load(const std::string& path);
    // DrvStop, after the running calls have returned (or the wait ran out); the library closes
    // with the last call that holds it. Does nothing when not loaded.
    void Unload();
    bool IsLoaded() const { return loaded_.load(); }
    std::string Path() const;
    std::string LastError() const;

    // The driver functions; 0 / null when not loaded.
    int Init(DrvPostFn post, void* context, unsigned msgRx, unsigned msgAudio, unsigned msgHelp);
    int IsSupportAudio();
    int IsSupportPTT();
    int SendCommand(const uint8_t* bytes, int length);
    // The raw pointer is valid only while the library stays loaded; prefer CopyBuffRx.
    const uint8_t* GetBuffRx(intptr_t handle);
    const uint8_t* GetBuffAudio(intptr_t handle);
    // Copies `length` bytes of a received frame or audio block while the library is held; false
    // when not loaded, the handle is unknown or the length is outside 1..maxLength.
    bool CopyBuffRx(intptr_t handle, uint8_t* out, int length, int maxLength = 256);
    bool CopyBuffAudio(intptr_t handle, uint8_t* out, int length, int maxLength);
    int IsConnected();
    int PTT(int on);
    int AudioStart();
    int AudioStop();
    int AudioPause(int pause);
    int OpenCom(int port);
    int CloseCom();
    int SetDTR(int port, int state);
    int SetRTS(int port, int state);
    int Setup(void* owner, unsigned msgHelp);

    // ICivWriter: the worker's frames go to DrvSendCommand.
    bool WriteFrame(const uint8_t* bytes, int length) override;
    bool MayHang() const override;

private:
    struct Library;
    class CallGuard;

    // The library with this call counted in it; null when none is loaded.
    std::shared_ptr<Library> Enter();
    void UnloadLocked();

    std::mutex loadMutex_;  // serialises Load and Unload
    std::atomic<bool> loaded_{false};
    std::mutex libraryMutex_;  // guards library_ between callers and Load/Unload
    std::shared_ptr<Library> library_;
    mutable std::mutex textMutex_;
    std::string path_;
    std::string lastError_;
};

}  // namespace cat
