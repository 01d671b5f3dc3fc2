/* libVekExtension.so: drives the radio through the running Corvane program.
 *
 * Plain C, no other header needed. Load the library with dlopen and look the functions up by
 * name, or link it directly. Every function may be called from any thread.
 *
 *   if (ExtInit()) {                        finds (or starts) the program; 0 when not reachable
 *       int hz = ExtGetFrequency();         -1: not available, or the program cannot be reached
 *       ExtSetFrequency(14070000);
 *   }
 *
 * Nearly every function sends one request to the program and returns its answer. The answer -1
 * means "not available" and is also what every such function returns when the program cannot
 * be reached: no program was found by ExtInit, or the program has gone since. ExtInit searches
 * anew; nothing else does. It starts the program only when none runs for this user: one that is
 * busy, still starting, or serving all the clients it can is not started twice (ExtInit returns 0
 * when it does not answer in time; callers at once, in any processes, start one program and all
 * find it), and when the private runtime folder is unsafe (not the user's own, a symbolic link,
 * open to others) nothing is started and ExtInit returns 0 at once.
 *
 * Change notifications: the program announces changes (frequency, mode, switches, shutdown,
 * ...) to every registered client, with the codes of the Get functions and the new value.
 *
 *   ExtSetHwnd(token);                      register: any value the client chooses, handed back
 *   int fd = ExtDispatchNotifications(on_change, my_data);
 *   while (fd >= 0): poll fd for POLLIN, then
 *       fd = ExtDispatchNotifications(on_change, my_data);
 *   (fd -1: the program has gone, or nothing is registered)
 *
 * ExtDispatchNotifications never blocks: it calls the callback for each notification that has
 * arrived, in the order the program raised them, on the calling thread, and returns the
 * descriptor to poll for the next ones. Call it once after ExtSetHwnd as well, before the first
 * poll: what arrived with the registration is delivered then. With a NULL callback it only
 * returns the descriptor and leaves every notification waiting. The descriptor belongs to the
 * library: do not read it or close it. It stays the same while the program runs and ExtInit
 * finds no other one; after a change, register again.
 */
#ifndef VEK_EXTENSION_H
#define VEK_EXTENSION_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define VEK_EXPORT __attribute__((visibility("default")))
#else
#define VEK_EXPORT
#endif

/* token: the value given to ExtSetHwnd; code: the Get code of what changed (0 frequency in Hz,
 * 2 mode 1..7, 4 filter, 6 split, 11 shutdown, 19 S value, 20 squelch, 21..37 the switches,
 * 39/40 DUP+/DUP-, 41 duplex offset in kHz); value: the new value.
 * VFO: code 8 with value 1 when VFO A was selected, code 9 with value 1 when VFO B was. A=B and
 * the VFO exchange select no VFO and give neither code; what they change arrives as the
 * frequency and mode codes once the program reads the radio back. */
typedef void (*ExtNotificationCallback)(uint64_t token, int32_t code, int32_t value, void* user);

/* Finding the program. */
VEK_EXPORT int ExtInit(void);         /* 1 when the program was found (started if need be) */
VEK_EXPORT intptr_t ExtGethWnd(void); /* the found program's process id, 0 when none */

/* Radio. Set functions answer 0 when done. */
VEK_EXPORT int32_t ExtGetFrequency(void); /* Hz */
VEK_EXPORT int32_t ExtSetFrequency(int32_t hz);
VEK_EXPORT int32_t ExtGetMode(void);         /* 1 LSB, 2 USB, 3 AM, 4 CW, 5 RTTY, 6 FM, 7 WFM */
VEK_EXPORT int32_t ExtSetMode(int32_t mode); /* -1: no such mode, or one the radio lacks */
VEK_EXPORT int32_t ExtGetFilter(void);       /* 1 narrow, 0 wide */
VEK_EXPORT int32_t ExtSetFilter(int32_t narrow);
VEK_EXPORT int32_t ExtGetSplit(void);
VEK_EXPORT int32_t ExtSetSplit(int32_t on);
VEK_EXPORT int32_t ExtSelectVFOA(void);
VEK_EXPORT int32_t ExtSelectVFOB(void);
VEK_EXPORT int32_t ExtSetVFOAB(void);
VEK_EXPORT int32_t ExtExit(int32_t value); /* closes the program */
VEK_EXPORT int32_t ExtIfPTT(void);
VEK_EXPORT int32_t ExtIfAudio(void);
VEK_EXPORT int32_t ExtPTT(int32_t on); /* keyed, it goes off when this process ends */
VEK_EXPORT int32_t ExtRecord(int32_t on);
VEK_EXPORT int32_t ExtPause(int32_t on);
VEK_EXPORT int32_t ExtPlay(int32_t on);
VEK_EXPORT int32_t ExtIfExtensionG(void); /* 1 when the extended functions work */
VEK_EXPORT int32_t ExtGetSignal(void);    /* S units */
VEK_EXPORT int32_t ExtGetSQL(void);
VEK_EXPORT int32_t ExtGetAtt(void);
VEK_EXPORT int32_t ExtSetAtt(int32_t on);
VEK_EXPORT int32_t ExtGetPre(void);
VEK_EXPORT int32_t ExtSetPre(int32_t on);
VEK_EXPORT int32_t ExtGetAGC(void);
VEK_EXPORT int32_t ExtSetAGC(int32_t fast);
VEK_EXPORT int32_t ExtGetNB(void);
VEK_EXPORT int32_t ExtSetNB(int32_t on);
VEK_EXPORT int32_t ExtGetTone(void);
VEK_EXPORT int32_t ExtSetTone(int32_t on);
VEK_EXPORT int32_t ExtGetTSQL(void);
VEK_EXPORT int32_t ExtSetTSQL(int32_t on);
VEK_EXPORT int32_t ExtGetVox(void);
VEK_EXPORT int32_t ExtSetVox(int32_t on);
VEK_EXPORT int32_t ExtGetBkIn(void);
VEK_EXPORT int32_t ExtSetBkIn(int32_t on);
VEK_EXPORT int32_t ExtGetComp(void);
VEK_EXPORT int32_t ExtSetComp(int32_t on);
VEK_EXPORT int32_t ExtSetDupP(int32_t on);
VEK_EXPORT int32_t ExtSetDupM(int32_t on);
VEK_EXPORT int32_t ExtGetDup(void); /* duplex offset, kHz */
VEK_EXPORT int32_t ExtSetDup(int32_t khz);

/* Ports. line: 0 the auxiliary port, 1 the CAT port; line and state are cut to 16 bits. */
VEK_EXPORT int32_t ExtGetCom(void);
VEK_EXPORT int32_t ExtGetComPTT(void);
VEK_EXPORT int32_t
ExtOpenCom(int32_t port); /* 0 opened, 1 bad number, 2 CAT port, 3 one open, 4 failed */
VEK_EXPORT int32_t ExtCloseCom(void);
VEK_EXPORT int32_t ExtSetDTR(int32_t line, int32_t state);
VEK_EXPORT int32_t ExtSetRTS(int32_t line, int32_t state);

/* Versions and system. */
VEK_EXPORT int32_t ExtGetVersionPrg(void); /* "1.2.3" gives 1230 */
VEK_EXPORT int32_t ExtGetVersionDLL(void); /* this library's: 1110, also without the program */
VEK_EXPORT int32_t ExtGetSystem(void);     /* 1 or 0 as the program answers; -1 not reachable */

/* The program's language name ("" when none is set). The text stays valid and unchanged while
 * the library is loaded; a later call may return another pointer. */
VEK_EXPORT const char* ExtGetLanguage(void);

/* Notifications (see above). ExtSetHwnd answers 0 once the program has registered the token,
 * -1 otherwise. A token registered twice is told once. */
VEK_EXPORT int32_t ExtSetHwnd(uint64_t token);
VEK_EXPORT int ExtDispatchNotifications(ExtNotificationCallback callback, void* user);

#ifdef __cplusplus
}
#endif

#endif /* VEK_EXTENSION_H */
