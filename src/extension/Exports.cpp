// The exported functions: each turns into one remote-control code for the main program.
#include "VekExtension.h"

#include "LanguageName.h"
#include "MainProgramLink.h"
#include "RemoteCodes.h"

#include <cxxabi.h>

#include <cstdint>

namespace {

// No exception may unwind into a C caller: an export whose work throws (out of memory, a failed
// lock) answers as if the program could not be reached. A thread being cancelled or exiting
// unwinds too, and that must go on, or the runtime ends the whole process; the runtime hands it
// over as a null reference, which is never read (hence no null check here).
template <typename Result, typename Body>
__attribute__((no_sanitize("null"))) Result Guarded(Result failed, Body&& body)
{
    try {
        return body();
    } catch (abi::__forced_unwind&) {
        throw;
    } catch (...) {
        return failed;
    }
}

std::int32_t Send(std::int32_t code, std::int32_t argument = 0)
{
    return Guarded(vek::kUnreachable,
                   [&] { return vek::TheLink().Send(code, argument).value_or(vek::kUnreachable); });
}

// Line in the low word, state in the high word, both cut to 16 bits.
std::int32_t PackLineState(std::int32_t line, std::int32_t state)
{
    const std::uint32_t packed = (static_cast<std::uint32_t>(line) & 0xFFFFu)
                                 | ((static_cast<std::uint32_t>(state) & 0xFFFFu) << 16);
    return static_cast<std::int32_t>(packed);
}

constexpr std::int32_t kVersionDll = 1110;

}  // namespace

extern "C" {

int ExtInit(void)
{
    return Guarded(0, [] { return vek::ConnectMainProgram() ? 1 : 0; });
}
intptr_t ExtGethWnd(void)
{
    return Guarded<intptr_t>(0, [] { return static_cast<intptr_t>(vek::TheLink().ProgramId()); });
}

int32_t ExtGetFrequency(void)
{
    return Send(remote::kGetFrequency);
}
int32_t ExtSetFrequency(int32_t hz)
{
    return Send(remote::kSetFrequency, hz);
}
int32_t ExtGetMode(void)
{
    return Send(remote::kGetMode);
}
int32_t ExtSetMode(int32_t mode)
{
    return Send(remote::kSetMode, mode);
}
int32_t ExtGetFilter(void)
{
    return Send(remote::kGetFilter);
}
int32_t ExtSetFilter(int32_t narrow)
{
    return Send(remote::kSetFilter, narrow);
}
int32_t ExtGetSplit(void)
{
    return Send(remote::kGetSplit);
}
int32_t ExtSetSplit(int32_t on)
{
    return Send(remote::kSetSplit, on);
}
int32_t ExtSelectVFOA(void)
{
    return Send(remote::kSelectVfoA);
}
int32_t ExtSelectVFOB(void)
{
    return Send(remote::kSelectVfoB);
}
int32_t ExtSetVFOAB(void)
{
    return Send(remote::kSetVfoAB);
}
int32_t ExtExit(int32_t value)
{
    return Send(remote::kExit, value);
}
int32_t ExtIfPTT(void)
{
    return Send(remote::kIfPtt);
}
int32_t ExtIfAudio(void)
{
    return Send(remote::kIfAudio);
}
int32_t ExtPTT(int32_t on)
{
    return Send(remote::kPtt, on);
}
int32_t ExtRecord(int32_t on)
{
    return Send(remote::kRecord, on);
}
int32_t ExtPause(int32_t on)
{
    return Send(remote::kPause, on);
}
int32_t ExtPlay(int32_t on)
{
    return Send(remote::kPlay, on);
}
int32_t ExtIfExtensionG(void)
{
    return Send(remote::kIfExtensionG);
}
int32_t ExtGetSignal(void)
{
    return Send(remote::kGetSignal);
}
int32_t ExtGetSQL(void)
{
    return Send(remote::kGetSql);
}
int32_t ExtGetAtt(void)
{
    return Send(remote::kGetAtt);
}
int32_t ExtSetAtt(int32_t on)
{
    return Send(remote::kSetAtt, on);
}
int32_t ExtGetPre(void)
{
    return Send(remote::kGetPre);
}
int32_t ExtSetPre(int32_t on)
{
    return Send(remote::kSetPre, on);
}
int32_t ExtGetAGC(void)
{
    return Send(remote::kGetAgc);
}
int32_t ExtSetAGC(int32_t fast)
{
    return Send(remote::kSetAgc, fast);
}
int32_t ExtGetNB(void)
{
    return Send(remote::kGetNb);
}
int32_t ExtSetNB(int32_t on)
{
    return Send(remote::kSetNb, on);
}
int32_t ExtGetTone(void)
{
    return Send(remote::kGetTone);
}
int32_t ExtSetTone(int32_t on)
{
    return Send(remote::kSetTone, on);
}
int32_t ExtGetTSQL(void)
{
    return Send(remote::kGetTsql);
}
int32_t ExtSetTSQL(int32_t on)
{
    return Send(remote::kSetTsql, on);
}
int32_t ExtGetVox(void)
{
    return Send(remote::kGetVox);
}
int32_t ExtSetVox(int32_t on)
{
    return Send(remote::kSetVox, on);
}
int32_t ExtGetBkIn(void)
{
    return Send(remote::kGetBkIn);
}
int32_t ExtSetBkIn(int32_t on)
{
    return Send(remote::kSetBkIn, on);
}
int32_t ExtGetComp(void)
{
    return Send(remote::kGetComp);
}
int32_t ExtSetComp(int32_t on)
{
    return Send(remote::kSetComp, on);
}
int32_t ExtSetDupP(int32_t on)
{
    return Send(remote::kSetDupPlus, on);
}
int32_t ExtSetDupM(int32_t on)
{
    return Send(remote::kSetDupMinus, on);
}
int32_t ExtGetDup(void)
{
    return Send(remote::kGetDup);
}
int32_t ExtSetDup(int32_t khz)
{
    return Send(remote::kSetDup, khz);
}
int32_t ExtGetCom(void)
{
    return Send(remote::kGetCom);
}
int32_t ExtGetComPTT(void)
{
    return Send(remote::kGetComPtt);
}
int32_t ExtOpenCom(int32_t port)
{
    return Send(remote::kOpenCom, port);
}
int32_t ExtCloseCom(void)
{
    return Send(remote::kCloseCom);
}
int32_t ExtSetDTR(int32_t line, int32_t state)
{
    return Send(remote::kSetDtr, PackLineState(line, state));
}
int32_t ExtSetRTS(int32_t line, int32_t state)
{
    return Send(remote::kSetRts, PackLineState(line, state));
}
int32_t ExtGetVersionPrg(void)
{
    return Send(remote::kGetVersionPrg);
}
int32_t ExtGetVersionDLL(void)
{
    return kVersionDll;
}

int32_t ExtGetSystem(void)
{
    return Guarded(vek::kUnreachable, [] {
        const auto answer = vek::TheLink().Send(remote::kGetSystem, 0);
        if (!answer)
            return vek::kUnreachable;
        return *answer != 0 ? 1 : 0;
    });
}

const char* ExtGetLanguage(void)
{
    return Guarded<const char*>("", [] { return vek::StableLanguageText(vek::ReadLanguage()); });
}

int32_t ExtSetHwnd(uint64_t token)
{
    return Guarded(vek::kUnreachable,
                   [token] { return vek::TheLink().Register(token) ? 0 : vek::kUnreachable; });
}

int ExtDispatchNotifications(ExtNotificationCallback callback, void* user)
{
    return Guarded(-1, [callback, user] {
        // Without a callback nothing is taken: what has arrived waits for the next call.
        if (!callback)
            return vek::TheLink().NotificationFd();
        return vek::TheLink().Dispatch(
            [callback, user](std::uint64_t token, std::int32_t code, std::int32_t value) {
                // A callback that throws loses its own notification, not the ones after it.
                Guarded(0, [&] {
                    callback(token, code, value, user);
                    return 0;
                });
            });
    });
}

}  // extern "C"
