#include "MemoryChannelEngine.h"

#include "Bcd.h"
#include "CivCodes.h"
#include "MemoryChannel.h"
#include "RadioController.h"
#include "TransferHost.h"

namespace lists {

namespace {

// How long the measurement waits for the radio to switch, in steps of kKeyStepMs.
constexpr int kKeySteps = 4;
constexpr int kKeyStepMs = 250;

// Unkeys on every way out of the measurement.
class KeyedTransmitter {
public:
    explicit KeyedTransmitter(ITransferHost& host) : host_(host) { host_.SetPtt(true); }
    ~KeyedTransmitter() { Release(); }
    KeyedTransmitter(const KeyedTransmitter&) = delete;
    KeyedTransmitter& operator=(const KeyedTransmitter&) = delete;
    void Release()
    {
        if (keyed_)
            host_.SetPtt(false);
        keyed_ = false;
    }

private:
    ITransferHost& host_;
    bool keyed_ = true;
};

}  // namespace

CMemoryChannelEngine::CMemoryChannelEngine(radio::CRadioController& controller, ITransferHost& host)
    : controller_(controller), host_(host)
{
}

radio::SendResult CMemoryChannelEngine::Send(uint8_t command, uint8_t sub,
                                             std::initializer_list<uint8_t> data, bool wait)
{
    const radio::SendResult r = controller_.SendCommand(command, sub, data, wait);
    if (r == radio::SendResult::Dropped)
        dropped_ = true;
    return r;
}

bool CMemoryChannelEngine::Answered(uint8_t command, uint8_t sub,
                                    std::initializer_list<uint8_t> data)
{
    const radio::SendResult r = Send(command, sub, data);
    return r == radio::SendResult::Answered || r == radio::SendResult::Refused;
}

bool CMemoryChannelEngine::ForEachChannel(int first, int last, const std::function<bool(int)>& step,
                                          const std::function<bool(int)>& channel)
{
    dropped_ = false;
    for (int n = first; n <= last; ++n) {
        do {
            if (controller_.State().closing || dropped_ || !step(n))
                return false;
        } while (!channel(n));
    }
    return true;
}

bool CMemoryChannelEngine::ReadFrequency(int64_t& hz, bool& blank, int times)
{
    bool answered = false;
    for (int i = 0; i < times; ++i) {
        if (Send(civ::kCmdReadFrequency) != radio::SendResult::Answered)
            continue;
        const radio::RadioState& st = controller_.State();
        answered = true;
        blank = st.frequencyBlank;
        hz = blank ? 0 : st.frequencyHz;
    }
    return answered;
}

bool CMemoryChannelEngine::ReadMode(ChannelVfo& vfo)
{
    bool answered = false;
    for (int i = 0; i < 2; ++i)
        answered = Send(civ::kCmdReadMode) == radio::SendResult::Answered || answered;
    if (!answered)
        return false;
    const radio::RadioState& st = controller_.State();
    if (st.mode >= 0 && st.mode < static_cast<int>(st.modeNames.size()))
        vfo.mode = st.modeNames[static_cast<size_t>(st.mode)];
    vfo.narrow = st.filterNarrow;
    return true;
}

bool CMemoryChannelEngine::SelectChannel(int n, bool wait)
{
    uint8_t bcd = 0;
    if (n < 1 || n > radiomem::kChannels || !cat::NumberToBcd(n, &bcd, 1))
        return false;
    Send(civ::kCmdMemory, 0, {}, false);
    if (!wait) {
        Send(civ::kCmdSelectChannel, 0x00, {bcd}, false);
        return true;
    }
    return Answered(civ::kCmdSelectChannel, 0x00, {bcd});
}

ChannelState CMemoryChannelEngine::Recall(int n)
{
    // An NG to 0A is an answer: the channel is empty and the frequency read says so.
    if (!SelectChannel(n, true) || !Answered(civ::kCmdMemoryToVfo))
        return ChannelState::Unanswered;
    int64_t hz = 0;
    bool blank = false;
    if (!ReadFrequency(hz, blank, 2))
        return ChannelState::Unanswered;
    return blank ? ChannelState::Blank : ChannelState::Present;
}

bool CMemoryChannelEngine::ReadVfo(ChannelVfo& vfo)
{
    int64_t hz = 0;
    bool blank = false;
    if (!ReadFrequency(hz, blank, 2))
        return false;
    vfo = ChannelVfo{};
    vfo.hz = hz;
    return blank || ReadMode(vfo);
}

void CMemoryChannelEngine::ReadFunctions(ChannelReading& out)
{
    const radio::RadioState& st = controller_.State();
    controller_.ReadFunctionStates(true);
    out.functionsRead = true;
    ChannelFunctions& f = out.functions;
    using radio::RadioFunction;
    f.duplexPlus = st.duplexPlus;
    f.duplexMinus = st.duplexMinus;
    f.duplexKHz = st.duplexOffsetKHz;
    f.attenuator = st.Function(RadioFunction::Attenuator);
    f.preamp = st.Function(RadioFunction::Preamp);
    f.agcFast = st.Function(RadioFunction::Agc);
    f.noiseBlanker = st.Function(RadioFunction::NoiseBlanker);
    f.tone = st.Function(RadioFunction::Tone);
    f.toneSquelch = st.Function(RadioFunction::ToneSquelch);
    f.vox = st.Function(RadioFunction::Vox);
    f.breakIn = st.Function(RadioFunction::BreakIn);
    f.compressor = st.Function(RadioFunction::Compressor);
}

bool CMemoryChannelEngine::ReadVfos(ChannelReading& out, bool readFunctions)
{
    out = ChannelReading{};
    const radio::RadioState& st = controller_.State();
    // VFO A's frequency is the one the recall read.
    out.tuning.a.hz = st.frequencyBlank ? 0 : st.frequencyHz;
    if (!ReadMode(out.tuning.a))
        return false;
    if (readFunctions && st.extendedFunctions)
        ReadFunctions(out);
    if (!Answered(civ::kCmdVfo, civ::kVfoExchange))
        return false;
    const bool readB = ReadVfo(out.tuning.b);
    // Exchanged back even when B went unanswered: the restore expects A where it was.
    const bool back = Answered(civ::kCmdVfo, civ::kVfoExchange);
    if (!readB || !back)
        return false;
    if (out.tuning.b.hz == 0 || out.tuning.b.hz == out.tuning.a.hz) {
        out.tuning.b = ChannelVfo{};
        // An unused VFO B still names a mode the editor can show: the list's first.
        if (!st.modeNames.empty())
            out.tuning.b.mode = st.modeNames.front();
        out.tuning.split = false;
    } else {
        out.tuning.split = true;
    }
    return true;
}

int64_t CMemoryChannelEngine::MeasureDuplex(int64_t receiveHz)
{
    int64_t transmitHz = 0;
    int64_t hz = 0;
    bool blank = false;
    // The receive frequency shown before keying.
    ReadFrequency(hz, blank, 2);
    {
        KeyedTransmitter keyed(host_);
        for (int step = 0; step < kKeySteps && transmitHz == 0; ++step) {
            if (ReadFrequency(hz, blank, 1) && !blank && hz != receiveHz)
                transmitHz = hz;
            else if (!host_.WaitPumpingMessages(kKeyStepMs))
                break;
        }
    }
    // Back on receive before the next channel is selected.
    for (int step = 0; step < kKeySteps; ++step) {
        if (ReadFrequency(hz, blank, 1) && hz == receiveHz)
            break;
        if (!host_.WaitPumpingMessages(kKeyStepMs))
            break;
    }
    const radio::RadioState& st = controller_.State();
    if (transmitHz < st.lowerLimit || transmitHz > st.upperLimit)
        transmitHz = receiveHz;
    const int64_t offset = transmitHz - receiveHz;
    return offset >= -kMaxDuplexHz && offset <= kMaxDuplexHz ? offset : 0;
}

bool CMemoryChannelEngine::StoreVfo()
{
    return Send(civ::kCmdMemoryWrite) == radio::SendResult::Answered;
}

void CMemoryChannelEngine::ClearChannel(int n)
{
    uint8_t bcd = 0;
    if (n < 1 || n > radiomem::kChannels || !cat::NumberToBcd(n, &bcd, 1))
        return;
    Send(civ::kCmdMemory);
    Send(civ::kCmdSelectChannel, 0x00, {bcd}, false);
    Send(civ::kCmdMemoryClear, 0, {}, false);
}

}  // namespace lists
