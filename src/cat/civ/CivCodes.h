// Every byte with a meaning on the CI-V bus, named once: frame bytes, addresses, commands and
// their sub-commands. The controller, the command layer and the simulated radio all use these.
#pragma once

#include <cstdint>

namespace civ {

// Frame bytes.
constexpr uint8_t kPreamble = 0xFE;
constexpr uint8_t kEndOfFrame = 0xFD;
constexpr uint8_t kCollision = 0xFC;  // jammer code on the one-wire bus
constexpr uint8_t kOk = 0xFB;
constexpr uint8_t kNg = 0xFA;

// Addresses.
constexpr uint8_t kBroadcastAddress = 0x00;  // transceive frames go to everyone
constexpr uint8_t kControllerAddress = 0xE0;

// Commands.
constexpr uint8_t kCmdTransceiveFrequency = 0x00;
constexpr uint8_t kCmdTransceiveMode = 0x01;
constexpr uint8_t kCmdReadBandEdges = 0x02;
constexpr uint8_t kCmdReadFrequency = 0x03;
constexpr uint8_t kCmdReadMode = 0x04;
constexpr uint8_t kCmdSetFrequency = 0x05;
constexpr uint8_t kCmdSetMode = 0x06;
constexpr uint8_t kCmdVfo = 0x07;
constexpr uint8_t kCmdMemory = 0x08;  // memory mode, or select a channel
constexpr uint8_t kCmdMemoryWrite = 0x09;
constexpr uint8_t kCmdMemoryToVfo = 0x0A;
constexpr uint8_t kCmdMemoryClear = 0x0B;
constexpr uint8_t kCmdReadOffset = 0x0C;
constexpr uint8_t kCmdSetOffset = 0x0D;
constexpr uint8_t kCmdScan = 0x0E;
constexpr uint8_t kCmdSplitDuplex = 0x0F;
constexpr uint8_t kCmdTuningStep = 0x10;
constexpr uint8_t kCmdAttenuator = 0x11;
constexpr uint8_t kCmdMeter = 0x15;
constexpr uint8_t kCmdFunction = 0x16;
constexpr uint8_t kCmdReadId = 0x19;

// 07: VFO.
constexpr uint8_t kVfoA = 0x00;
constexpr uint8_t kVfoB = 0x01;
constexpr uint8_t kVfoEqualize = 0xA0;  // A=B
constexpr uint8_t kVfoExchange = 0xB0;

// 0E: scan.
constexpr uint8_t kScanStop = 0x00;
constexpr uint8_t kScanStart = 0x01;

// 0F: split and duplex.
constexpr uint8_t kSplitOff = 0x00;
constexpr uint8_t kSplitOn = 0x01;
constexpr uint8_t kSimplex = 0x10;
constexpr uint8_t kDuplexMinus = 0x11;
constexpr uint8_t kDuplexPlus = 0x12;

// 11: attenuator, the value in the sub-command byte.
constexpr uint8_t kAttenuatorOff = 0x00;
constexpr uint8_t kAttenuatorOn = 0x20;

// 15: meters.
constexpr uint8_t kMeterSquelch = 0x01;
constexpr uint8_t kMeterS = 0x02;

// 16: functions, each followed by its value.
constexpr uint8_t kFuncPreamp = 0x02;
constexpr uint8_t kFuncAgc = 0x12;
constexpr uint8_t kFuncNoiseBlanker = 0x22;
constexpr uint8_t kFuncNoiseReduction = 0x40;
constexpr uint8_t kFuncAutoNotch = 0x41;
constexpr uint8_t kFuncTone = 0x42;
constexpr uint8_t kFuncToneSquelch = 0x43;
constexpr uint8_t kFuncCompressor = 0x44;
constexpr uint8_t kFuncVox = 0x46;
constexpr uint8_t kFuncBreakIn = 0x47;

// Function values.
constexpr uint8_t kOff = 0x00;
constexpr uint8_t kOn = 0x01;
constexpr uint8_t kAgcFast = 0x01;
constexpr uint8_t kAgcSlow = 0x02;
constexpr uint8_t kBreakInSemi = 0x01;
constexpr uint8_t kBreakInFull = 0x02;

// 19: the sub-command that reads the radio's ID.
constexpr uint8_t kIdRead = 0x00;

// Data bytes.
constexpr uint8_t kBandEdgeSeparator = 0x2D;  // "-" between the two band edges of 02
constexpr uint8_t kNoFrequency = 0xFF;        // 03 FF: nothing shown (an empty channel)

// Program-internal command numbers that reach the bus as other commands, and the data byte
// that marks a read for commands 11 (as the sub-command) and 16.
constexpr uint8_t kCmdSelectVfoMode = 0x46;  // 07 without sub-command
constexpr uint8_t kCmdSelectChannel = 0x51;  // 08 with two channel bytes
constexpr uint8_t kRead = 0xFF;

}  // namespace civ
