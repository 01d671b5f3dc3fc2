/* The radio driver library's C interface ("VekDriver.so" in the program folder, chosen from
 * Drivers/). Plain C names, no decoration. A driver calls the program back through the posting
 * function it receives at DrvInit, from any thread; the program handles the message later on its
 * GUI thread (a received frame: wParam = length 1..256, lParam = handle for DrvGetBuffRx; an audio
 * block: wParam = bytes, lParam = handle for DrvGetBuffAudio; help: wParam = topic).
 *
 * Order: DrvInit, then DrvIsSupportAudio and DrvIsSupportPTT, then any others, DrvStop last
 * before the library is unloaded. */
#ifndef VEK_DRIVER_API_H
#define VEK_DRIVER_API_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*DrvPostFn)(void* context, unsigned int message, uintptr_t wParam, intptr_t lParam);

/* -1 give up, 0 failure, other values connected (4: connected but the radio is off line). */
int DrvInit(DrvPostFn post, void* context, unsigned int msgRx, unsigned int msgAudio,
            unsigned int msgHelp);
int DrvIsSupportAudio(void);
int DrvIsSupportPTT(void);
/* Writes one frame; called from the program's CI-V worker thread only. */
int DrvSendCommand(const unsigned char* bytes, int length);
/* The bytes of a received frame announced with msgRx; valid until the driver has posted at
 * least 64 further frames. NULL for an unknown handle. */
const unsigned char* DrvGetBuffRx(intptr_t handle);
const unsigned char* DrvGetBuffAudio(intptr_t handle);
int DrvIsConnected(void);
int DrvPTT(int on);
int DrvAudioStart(void);
int DrvAudioStop(void);
int DrvAudioPause(int pause);
int DrvOpenCom(int port);
int DrvCloseCom(void);
int DrvSetDTR(int port, int state);
int DrvSetRTS(int port, int state);
/* Shows the driver's own set-up dialog; owner is the program's window (a QWidget*) or NULL. */
int DrvSetup(void* owner, unsigned int msgHelp);
int DrvStop(void);

#ifdef __cplusplus
}
#endif

#endif
