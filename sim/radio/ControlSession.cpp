#include "ControlSession.h"

#include <cctype>
#include <charconv>
#include <cstdint>
#include <sstream>

#include "RadioModels.h"

namespace sim {

namespace {

const char* const kModeNames[kModeCount] = {"LSB", "USB", "AM", "CW", "RTTY", "FM", "WFM"};

template <class T>
bool ParseNumber(const std::string& text, T& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    auto [ptr, ec] = std::from_chars(first, last, value);
    return ec == std::errc() && ptr == last;
}

bool ParseMode(std::string text, int& mode)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (int i = 0; i < kModeCount; ++i)
        if (text == kModeNames[i]) {
            mode = i;
            return true;
        }
    return ParseNumber(text, mode) && mode >= 0 && mode < kModeCount;
}

bool ParseOnOff(const std::string& text, bool& on)
{
    if (text == "on" || text == "up")
        on = true;
    else if (text == "off" || text == "down")
        on = false;
    else
        return false;
    return true;
}

bool ParseFaultKind(const std::string& name, FaultKind& kind)
{
    static const struct {
        const char* name;
        FaultKind kind;
    } kNames[] = {{"noanswer", FaultKind::NoAnswer},        {"ng", FaultKind::NgToEverything},
                  {"delay", FaultKind::DelayedAnswer},      {"repeat", FaultKind::RepeatedAnswer},
                  {"split", FaultKind::SplitReads},         {"garbage", FaultKind::LeadingGarbage},
                  {"collision", FaultKind::CollisionByte},  {"fe", FaultKind::FeInsideFrame},
                  {"long", FaultKind::LongGarbage},         {"nonbcd", FaultKind::NonBcdDigits},
                  {"truncate", FaultKind::TruncatedAnswer}, {"address", FaultKind::WrongAddress}};
    for (const auto& entry : kNames)
        if (name == entry.name) {
            kind = entry.kind;
            return true;
        }
    return false;
}

bool ParseHexByte(const std::string& text, int& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    auto [ptr, ec] = std::from_chars(first, last, value, 16);
    return ec == std::errc() && ptr == last && first != last && value >= 0 && value <= 0xFF;
}

bool Fail(std::string& reply, const char* why)
{
    reply = why;
    return false;
}

// What follows a channel's mode: a filter number first, then duplex, tone, tone squelch and the
// split's other VFO, in any order.
bool ParseChannelExtras(const std::vector<std::string>& words, size_t at, MemoryChannel& ch)
{
    const size_t n = words.size();
    if (at < n && ParseNumber(words[at], ch.filter))
        ++at;
    while (at < n) {
        const std::string& w = words[at];
        if ((w == "dup+" || w == "dup-") && at + 1 < n) {
            if (!ParseNumber(words[at + 1], ch.offsetHz))
                return false;
            ch.duplex = w == "dup+" ? Duplex::Plus : Duplex::Minus;
            at += 2;
        } else if (w == "tone") {
            ch.tone = true;
            ++at;
        } else if (w == "tsql") {
            ch.toneSquelch = true;
            ++at;
        } else if (w == "split" && at + 2 < n) {
            ch.split = true;
            if (!ParseNumber(words[at + 1], ch.other.frequencyHz)
                || !ParseMode(words[at + 2], ch.other.mode))
                return false;
            at += 3;
        } else {
            return false;
        }
    }
    return true;
}

}  // namespace

std::string DescribeChannel(const MemoryChannel& c)
{
    std::ostringstream out;
    out << "used=" << c.used << " frequency=" << c.frequencyHz << " mode=" << c.mode
        << " filter=" << c.filter << " duplex=" << static_cast<int>(c.duplex)
        << " offset=" << c.offsetHz << " tone=" << c.tone << " tsql=" << c.toneSquelch
        << " split=" << c.split << " other=" << (c.split ? c.other.frequencyHz : 0);
    return out.str();
}

std::string DescribeTraffic(const std::vector<RecordedFrame>& frames)
{
    size_t count[2] = {0, 0};
    size_t bytes[2] = {0, 0};
    for (const RecordedFrame& f : frames) {
        ++count[f.fromRadio ? 1 : 0];
        bytes[f.fromRadio ? 1 : 0] += f.bytes.size();
    }
    std::ostringstream out;
    out << "to_radio_frames=" << count[0] << " to_radio_bytes=" << bytes[0]
        << " from_radio_frames=" << count[1] << " from_radio_bytes=" << bytes[1];
    return out.str();
}

std::string DescribeState(const RadioState& s)
{
    std::ostringstream out;
    out << "frequency=" << (s.blank ? 0 : s.frequencyHz) << " mode=" << s.mode
        << " filter=" << s.filter << " vfo=" << (s.currentVfo == 0 ? 'A' : 'B')
        << " memory=" << s.memoryMode << " channel=" << s.channel << " split=" << s.split
        << " duplex=" << static_cast<int>(s.duplex) << " offset=" << s.offsetHz
        << " transmitting=" << s.transmitting << " scanning=" << s.scanning << " link=" << s.linkUp
        << " s=" << s.sReading << " squelch=" << s.squelchOpen;
    return out.str();
}

bool ControlSession::Run(const std::string& line, std::string& reply)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    reply.clear();
    if (words.empty()) {
        reply = "empty command";
        return false;
    }
    const std::string& verb = words[0];
    const size_t n = words.size();
    bool on = false;
    if (verb == "knob" && n == 2) {
        int steps = 0;
        if (!ParseNumber(words[1], steps))
            return Fail(reply, "bad step count");
        radio_.TurnKnob(steps);
    } else if (verb == "frequency" && n == 2) {
        uint64_t hz = 0;
        if (!ParseNumber(words[1], hz))
            return Fail(reply, "bad frequency");
        radio_.SetFrequencyByHand(hz);
    } else if (verb == "mode" && (n == 2 || n == 3)) {
        int mode = 0, filter = 1;
        if (!ParseMode(words[1], mode) || (n == 3 && !ParseNumber(words[2], filter)))
            return Fail(reply, "bad mode");
        radio_.SetModeByHand(mode, filter);
    } else if (verb == "vfo" && n == 2 && (words[1] == "A" || words[1] == "B")) {
        radio_.SelectVfoByHand(words[1] == "A" ? 0 : 1);
    } else if ((verb == "key" || verb == "unkey") && n == 1) {
        radio_.Key(verb == "key");
    } else if (verb == "signal" && n == 4) {
        SignalRange s;
        if (!ParseNumber(words[1], s.lowHz) || !ParseNumber(words[2], s.highHz)
            || !ParseNumber(words[3], s.reading) || s.reading < 0 || s.reading > 255)
            return Fail(reply, "bad signal");
        signals_.push_back(s);
        radio_.SetSignals(signals_);
    } else if (verb == "signals" && n == 2 && words[1] == "clear") {
        signals_.clear();
        radio_.SetSignals(signals_);
    } else if (verb == "squelch" && n == 2) {
        int level = 0;
        if (!ParseNumber(words[1], level))
            return Fail(reply, "bad level");
        radio_.SetSquelchLevel(level);
    } else if (verb == "scanstep" && n == 1) {
        radio_.StepScan();
    } else if (verb == "channel" && n == 3 && words[2] == "clear") {
        int number = 0;
        if (!ParseNumber(words[1], number) || !radio_.SetChannel(number, MemoryChannel{}))
            return Fail(reply, "bad channel");
    } else if (verb == "channel" && n >= 4) {
        int number = 0;
        MemoryChannel ch;
        ch.used = true;
        if (!ParseNumber(words[1], number) || !ParseNumber(words[2], ch.frequencyHz)
            || !ParseMode(words[3], ch.mode) || !ParseChannelExtras(words, 4, ch)
            || !radio_.SetChannel(number, ch))
            return Fail(reply, "bad channel");
    } else if (verb == "channel" && n == 2) {
        int number = 0;
        if (!ParseNumber(words[1], number) || number < kFirstChannel || number > kLastChannel)
            return Fail(reply, "bad channel");
        reply = DescribeChannel(radio_.Channel(number));
        return true;
    } else if (verb == "traffic" && n == 1) {
        reply = DescribeTraffic(radio_.Frames());
        return true;
    } else if (verb == "traffic" && n == 2 && words[1] == "clear") {
        radio_.ClearFrames();
    } else if (verb == "link" && n == 2 && ParseOnOff(words[1], on)) {
        radio_.SetLinkUp(on);
    } else if (verb == "transceive" && n == 2 && ParseOnOff(words[1], on)) {
        radio_.SetTransceive(on);
    } else if (verb == "echo" && n == 2 && ParseOnOff(words[1], on)) {
        radio_.SetEcho(on);
    } else if (verb == "latency" && n == 2) {
        int ms = 0;
        if (!ParseNumber(words[1], ms) || ms < 0)
            return Fail(reply, "bad latency");
        radio_.SetLatency(ms);
    } else if (verb == "fault" && n == 2 && words[1] == "clear") {
        radio_.ClearFaults();
    } else if (verb == "fault" && (n == 3 || n == 4) && words[1] == "silence") {
        Fault fault;
        fault.kind = FaultKind::SilentCommand;
        if (!ParseHexByte(words[2], fault.command)
            || (n == 4 && !ParseHexByte(words[3], fault.sub)))
            return Fail(reply, "bad fault");
        radio_.InjectFault(fault);
    } else if (verb == "fault" && (n == 2 || n == 3)) {
        Fault fault;
        if (!ParseFaultKind(words[1], fault.kind)
            || (n == 3 && !ParseNumber(words[2], fault.count)))
            return Fail(reply, "bad fault");
        radio_.InjectFault(fault);
    } else if (verb == "state" && n == 1) {
        reply = DescribeState(radio_.State());
        return true;
    } else if (verb == "help" && n == 1) {
        reply =
            "knob STEPS | frequency HZ | mode NAME [FILTER] | vfo A|B | key | unkey\n"
            "signal LOW_HZ HIGH_HZ S(0..255) | signals clear | squelch LEVEL | scanstep\n"
            "channel N HZ MODE [FILTER] [dup+|dup- OFFSET_HZ] [tone] [tsql] [split HZ MODE]\n"
            "channel N [clear] | traffic [clear] | link on|off | transceive on|off\n"
            "echo on|off | latency MS | fault KIND [COUNT] | fault silence CMD [SUB] | fault "
            "clear\n"
            "state";
        return true;
    } else {
        reply = "unknown command: " + verb;
        return false;
    }
    reply = "ok";
    return true;
}

}  // namespace sim
