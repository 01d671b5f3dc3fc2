// The serial parameters of a port as the settings give them (Setup/"Baud", "Parita", "Bit",
// "Stop", "RTS", "DTR", "Handshake").
#pragma once

namespace cat {

enum SerialHandshake : int {
    kHandshakeOff = 0,
    kHandshakeHardware = 1,  // RTS/CTS
    kHandshakeSoftware = 2,  // XON/XOFF
};

struct SerialParams {
    int baud = 1200;
    char parity = 'N';  // N, E, O, M (mark), S (space); either case
    int dataBits = 8;   // 5..8
    int stopBits = 1;   // 1 or 2
    int rts = 1;        // 0 off, 1 on
    int dtr = 1;
    int handshake = kHandshakeOff;
};

}  // namespace cat
