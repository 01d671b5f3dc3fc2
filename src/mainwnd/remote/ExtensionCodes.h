// The function codes of the extension protocol, carried as requests and as notifications.
#pragma once

namespace remote {

enum ExtensionCode : int {
    kGetFrequency = 0,
    kSetFrequency = 1,
    kGetMode = 2,
    kSetMode = 3,
    kGetFilter = 4,
    kSetFilter = 5,
    kGetSplit = 6,
    kSetSplit = 7,
    kSelectVfoA = 8,
    kSelectVfoB = 9,
    kSetVfoAB = 10,
    kExit = 11,
    kIfPtt = 12,
    kIfAudio = 13,
    kPtt = 14,
    kRecord = 15,
    kPause = 16,
    kPlay = 17,
    kIfExtensionG = 18,
    kGetSignal = 19,
    kGetSql = 20,
    kFirstSwitch = 21,  // 21..38: Get/Set pairs of the function switches
    kLastSwitch = 38,
    kSetDupPlus = 39,
    kSetDupMinus = 40,
    kGetDup = 41,
    kSetDup = 42,
    kGetCom = 43,
    kGetComPtt = 44,
    kOpenCom = 45,
    kCloseCom = 46,
    kSetDtr = 47,
    kSetRts = 48,
    kGetVersionPrg = 49,
    kGetSystem = 50,
    kSetHwnd = 51,
    kLastCode = 51,
};

// The answer of anything that is not available.
constexpr int kNotAvailable = -1;

}  // namespace remote
