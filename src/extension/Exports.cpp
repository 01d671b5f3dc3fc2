// The exported functions: each turns into one remote-control code for the main program.
#include "VekExtension.h"

#include "LanguageName.h"
#include "MainProgramLink.h"

#include <cxxabi.h>

#include <cstdint>

namespace {

// No exception may unwind into a C caller: an export whose work throws (out of memory, a failed
// lock) answers as if the program could not be reached. A thread being cancelled or exiting
// unwinds too, and that must go on, or the runtime ends the whole process; the runtime hands it
// over as a null reference, which is never read (hence no null check here).
template <typename Result, typename Body>
__attribute__((no_sanitize("null"))) Result Guarded(Result failed, Body&& body) {
    try {
        return body();
    } catch (abi::__forced_unwind&) {
        throw;
    } catch (...) {
        return failed;
    }
}

std::int32_t Send(std::int32_t code, std::int32_t argument = 0) {
    return Guarded(vek::kUnreachable,
                   [&] { return vek::TheLink().Send(code, argument).value_or(vek::kUnreachable); });
}

// Line in the low word, state in the high word, both cut to 16 bits.
std::int32_t PackLineState(std::int32_t line, std::int32_t state) {
    const std::uint32_t packed = (static_cast<std::uint32_t>(line) & 0xFFFFu) |
                                 ((static_cast<std::uint32_t>(state) & 0xFFFFu) << 16);
    return static_cast<std::int32_t>(packed);
}

constexpr std::int32_t kVersionDll = 1110;

}  // namespace

extern "C" {

int ExtInit(void) {
    return Guarded(0, [] { return vek::ConnectMainProgram() ? 1 : 0; });
}
intptr_t ExtGethWnd(void) {
    return Guarded<intptr_t>(0, [] { return static_cast<intptr_t>(vek::TheLink().ProgramId()); });
}

int32_t ExtGetFrequency(void) { return Send(0); }
int32_t ExtSetFrequency(int32_t hz) { return Send(1, hz); }
int32_t ExtGetMode(void) { return Send(2); }
int32_t ExtSetMode(int32_t mode) { return Send(3, mode); }
int32_t ExtGetFilter(void) { return Send(4); }
int32_t ExtSetFilter(int32_t narrow) { return Send(5, narrow); }
int32_t ExtGetSplit(void) { return Send(6); }
int32_t ExtSetSplit(int32_t on) { return Send(7, on); }
int32_t ExtSelectVFOA(void) { return Send(8); }
int32_t ExtSelectVFOB(void) { return Send(9); }
int32_t ExtSetVFOAB(void) { return Send(10); }
int32_t ExtExit(int32_t value) { return Send(11, value); }
int32_t ExtIfPTT(void) { return Send(12); }
int32_t ExtIfAudio(void) { return Send(13); }
int32_t ExtPTT(int32_t on) { return Send(14, on); }
int32_t ExtRecord(int32_t on) { return Send(15, on); }
int32_t ExtPause(int32_t on) { return Send(16, on); }
int32_t ExtPlay(int32_t on) { return Send(17, on); }
int32_t ExtIfExtensionG(void) { return Send(18); }
int32_t ExtGetSignal(void) { return Send(19); }
int32_t ExtGetSQL(void) { return Send(20); }
int32_t ExtGetAtt(void) { return Send(21); }
int32_t ExtSetAtt(int32_t on) { return Send(22, on); }
int32_t ExtGetPre(void) { return Send(23); }
int32_t ExtSetPre(int32_t on) { return Send(24, on); }
int32_t ExtGetAGC(void) { return Send(25); }
int32_t ExtSetAGC(int32_t fast) { return Send(26, fast); }
int32_t ExtGetNB(void) { return Send(27); }
int32_t ExtSetNB(int32_t on) { return Send(28, on); }
int32_t ExtGetTone(void) { return Send(29); }
int32_t ExtSetTone(int32_t on) { return Send(30, on); }
int32_t ExtGetTSQL(void) { return Send(31); }
int32_t ExtSetTSQL(int32_t on) { return Send(32, on); }
int32_t ExtGetVox(void) { return Send(33); }
int32_t ExtSetVox(int32_t on) { return Send(34, on); }
int32_t ExtGetBkIn(void) { return Send(35); }
int32_t ExtSetBkIn(int32_t on) { return Send(36, on); }
int32_t ExtGetComp(void) { return Send(37); }
int32_t ExtSetComp(int32_t on) { return Send(38, on); }
int32_t ExtSetDupP(int32_t on) { return Send(39, on); }
int32_t ExtSetDupM(int32_t on) { return Send(40, on); }
int32_t ExtGetDup(void) { return Send(41); }
int32_t ExtSetDup(int32_t khz) { return Send(42, khz); }
int32_t ExtGetCom(void) { return Send(43); }
int32_t ExtGetComPTT(void) { return Send(44); }
int32_t ExtOpenCom(int32_t port) { return Send(45, port); }
int32_t ExtCloseCom(void) { return Send(46); }
int32_t ExtSetDTR(int32_t line, int32_t state) { return Send(47, PackLineState(line, state)); }
int32_t ExtSetRTS(int32_t line, int32_t state) { return Send(48, PackLineState(line, state)); }
int32_t ExtGetVersionPrg(void) { return Send(49); }
int32_t ExtGetVersionDLL(void) { return kVersionDll; }

int32_t ExtGetSystem(void) {
    return Guarded(vek::kUnreachable, [] {
        const auto answer = vek::TheLink().Send(50, 0);
        if (!answer) return vek::kUnreachable;
        return *answer != 0 ? 1 : 0;
    });
}

const char* ExtGetLanguage(void) {
    return Guarded<const char*>("", [] { return vek::StableLanguageText(vek::ReadLanguage()); });
}

int32_t ExtSetHwnd(uint64_t token) {
    return Guarded(vek::kUnreachable, [token] { return vek::TheLink().Register(token) ? 0 : vek::kUnreachable; });
}

int ExtDispatchNotifications(ExtNotificationCallback callback, void* user) {
    return Guarded(-1, [callback, user] {
        // Without a callback nothing is taken: what has arrived waits for the next call.
        if (!callback) return vek::TheLink().NotificationFd();
        return vek::TheLink().Dispatch([callback, user](std::uint64_t token, std::int32_t code, std::int32_t value) {
            // A callback that throws loses its own notification, not the ones after it.
            Guarded(0, [&] {
                callback(token, code, value, user);
                return 0;
            });
        });
    });
}

}  // extern "C"
