// The remote-control codes of the extension protocol, for both ends: the extension library's
// exports send them, the program's remote handler answers them and the controller announces
// changes with them. Clients in other processes depend on these values: they never change.
// Plain constants, no Qt: the extension library includes this too.
#pragma once

namespace remote {

// Requests: one code per exported function.
inline constexpr int kGetFrequency = 0;
inline constexpr int kSetFrequency = 1;
inline constexpr int kGetMode = 2;
inline constexpr int kSetMode = 3;
inline constexpr int kGetFilter = 4;
inline constexpr int kSetFilter = 5;
inline constexpr int kGetSplit = 6;
inline constexpr int kSetSplit = 7;
inline constexpr int kSelectVfoA = 8;
inline constexpr int kSelectVfoB = 9;
inline constexpr int kSetVfoAB = 10;
inline constexpr int kExit = 11;
inline constexpr int kIfPtt = 12;
inline constexpr int kIfAudio = 13;
inline constexpr int kPtt = 14;
inline constexpr int kRecord = 15;
inline constexpr int kPause = 16;
inline constexpr int kPlay = 17;
inline constexpr int kIfExtensionG = 18;
inline constexpr int kGetSignal = 19;
inline constexpr int kGetSql = 20;
// The function switches: a Get code, then its Set code.
inline constexpr int kGetAtt = 21;
inline constexpr int kSetAtt = 22;
inline constexpr int kGetPre = 23;
inline constexpr int kSetPre = 24;
inline constexpr int kGetAgc = 25;
inline constexpr int kSetAgc = 26;
inline constexpr int kGetNb = 27;
inline constexpr int kSetNb = 28;
inline constexpr int kGetTone = 29;
inline constexpr int kSetTone = 30;
inline constexpr int kGetTsql = 31;
inline constexpr int kSetTsql = 32;
inline constexpr int kGetVox = 33;
inline constexpr int kSetVox = 34;
inline constexpr int kGetBkIn = 35;
inline constexpr int kSetBkIn = 36;
inline constexpr int kGetComp = 37;
inline constexpr int kSetComp = 38;
inline constexpr int kSetDupPlus = 39;
inline constexpr int kSetDupMinus = 40;
inline constexpr int kGetDup = 41;
inline constexpr int kSetDup = 42;
inline constexpr int kGetCom = 43;
inline constexpr int kGetComPtt = 44;
inline constexpr int kOpenCom = 45;
inline constexpr int kCloseCom = 46;
inline constexpr int kSetDtr = 47;
inline constexpr int kSetRts = 48;
inline constexpr int kGetVersionPrg = 49;
inline constexpr int kGetSystem = 50;
inline constexpr int kSetHwnd = 51;

inline constexpr int kFirstSwitch = kGetAtt;
inline constexpr int kLastSwitch = kSetComp;
inline constexpr int kLastCode = kSetHwnd;

// Notifications carry the code of the request that reads the value (the Set code for the duplex
// direction, which has no Get of its own).
inline constexpr int kNoteFrequency = kGetFrequency;  // Hz
inline constexpr int kNoteMode = kGetMode;            // the remote mode number, 1 = LSB
inline constexpr int kNoteFilter = kGetFilter;        // 1 narrow
inline constexpr int kNoteSplit = kGetSplit;
inline constexpr int kNoteVfoA = kSelectVfoA;  // 1: VFO A selected
inline constexpr int kNoteVfoB = kSelectVfoB;
inline constexpr int kNoteShutdown = kExit;
inline constexpr int kNoteSignal = kGetSignal;  // S units
inline constexpr int kNoteSquelch = kGetSql;    // 1 while the squelch holds closed
inline constexpr int kNoteDupPlus = kSetDupPlus;
inline constexpr int kNoteDupMinus = kSetDupMinus;
inline constexpr int kNoteDuplexOffset = kGetDup;  // kHz

// The answer of anything that is not available.
inline constexpr int kNotAvailable = -1;

}  // namespace remote
