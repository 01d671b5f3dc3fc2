// Text commands that reach the simulated radio's test hooks, one line each, for radiosim's
// standard input and the driver's SimRadioControl:
//   knob STEPS | frequency HZ | mode MODE [FILTER] | vfo A|B | key | unkey
//   signal LOW_HZ HIGH_HZ READING | signals clear | squelch READING | scanstep
//   channel N HZ MODE [FILTER] [dup+|dup- OFFSET_HZ] [tone] [tsql] [split HZ MODE]
//   channel N | channel N clear          (the first describes what the channel holds)
//   traffic [clear]                      (frames and bytes each way since the last clear)
//   link up|down | transceive on|off | echo on|off | latency MS
//   fault KIND [COUNT] | fault clear     (KIND: noanswer ng delay repeat split garbage collision
//                                         fe long nonbcd truncate address)
//   fault silence CMD [SUB]              (hex bytes: that command goes unanswered until cleared)
//   state                                (the reply holds key=value pairs)
// MODE is a number 0..6 or LSB USB AM CW RTTY FM WFM.
#pragma once

#include <string>
#include <vector>

#include "SimulatedRadio.h"

namespace sim {

class ControlSession {
public:
    explicit ControlSession(SimulatedRadio& radio) : radio_(radio) {}

    // Carries out one command line; false (with the reason in reply) when it is not understood.
    bool Run(const std::string& line, std::string& reply);

private:
    SimulatedRadio& radio_;
    std::vector<SignalRange> signals_;
};

std::string DescribeState(const RadioState& state);
// "used=0|1 frequency=HZ mode= filter= duplex=0|1|2 offset=HZ tone= tsql= split= other=HZ".
std::string DescribeChannel(const MemoryChannel& channel);
// "to_radio_frames=N to_radio_bytes=N from_radio_frames=N from_radio_bytes=N".
std::string DescribeTraffic(const std::vector<RecordedFrame>& frames);

}  // namespace sim
