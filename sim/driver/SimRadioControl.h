/* Reaches the simulated radio inside Drivers/SimRadio.so from the process that loaded it, for
 * tests that run the whole program against the driver. Look it up with dlsym("SimRadioControl").
 *
 * command: one line of the simulated radio's control language, for example
 *   "knob 5", "frequency 7050000", "mode CW 2", "vfo B", "key", "unkey",
 *   "signal 14000000 14100000 120", "signals clear", "squelch 40", "link down", "link up",
 *   "transceive off", "fault noanswer 1", "fault silence 11", "fault clear",
 *   "channel 3 145500000 FM", "state", "help 242" (the driver asks the program for help topic 242).
 * reply: receives a NUL-terminated answer ("ok", the reason for a refusal, or for "state" the
 *   key=value pairs frequency, mode, filter, vfo, memory, channel, split, duplex, offset,
 *   transmitting, scanning, link, s, squelch); may be NULL. Truncated to replySize - 1 bytes.
 * Returns 1 when carried out, 0 when refused, -1 when the driver is not running (no DrvInit). */
#ifndef SIM_RADIO_CONTROL_H
#define SIM_RADIO_CONTROL_H

#ifdef __cplusplus
extern "C" {
#endif

int SimRadioControl(const char* command, char* reply, int replySize);

#ifdef __cplusplus
}
#endif

#endif
