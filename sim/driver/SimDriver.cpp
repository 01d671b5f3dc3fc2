#include "SimDriver.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "SetupDialog.h"

namespace simdriver {

SimDriver& SimDriver::Instance()
{
    // Never destroyed: the program may still read a frame pointer while the library unloads.
    static SimDriver* driver = new SimDriver;
    return *driver;
}

int SimDriver::Init(DrvPostFn post, void* context, unsigned msgRx, unsigned msgAudio,
                    unsigned msgHelp)
{
    Stop();
    std::lock_guard<std::mutex> lock(mutex_);
    settings_ = ReadSettings();
    post_ = post;
    context_ = context;
    msgRx_ = msgRx;
    msgAudio_ = msgAudio;
    msgHelp_ = msgHelp;
    parser_.Reset();
    if (!settings_.tracePath.empty())
        trace_ = std::fopen(settings_.tracePath.c_str(), "ae");
    radio_ = std::make_unique<sim::SimulatedRadio>(settings_.config);
    radio_->SetSignals(settings_.signals);
    radio_->SetOutput([this](const uint8_t* bytes, size_t length) { OnRadioBytes(bytes, length); });
    session_ = std::make_unique<sim::ControlSession>(*radio_);
    return 1;
}

void SimDriver::OnRadioBytes(const uint8_t* bytes, size_t length)
{
    parser_.Feed(bytes, length, [this](const std::vector<uint8_t>& frame) {
        const intptr_t handle = ring_.Store(frame);
        if (handle != 0 && post_)
            post_(context_, msgRx_, frame.size(), handle);
    });
}

void SimDriver::TraceLine(const std::string& line)
{
    if (!trace_)
        return;
    std::fputs((line + "\n").c_str(), trace_);
    std::fflush(trace_);
}

void SimDriver::Trace(const unsigned char* bytes, int length)
{
    if (!trace_)
        return;
    std::string line;
    char hex[4];
    for (int i = 0; i < length; ++i) {
        std::snprintf(hex, sizeof hex, i == 0 ? "%02X" : " %02X", bytes[i]);
        line += hex;
    }
    TraceLine(line);
}

int SimDriver::Send(const unsigned char* bytes, int length)
{
    if (!bytes || length <= 0 || length > static_cast<int>(RxRing::kMaxBytes))
        return 0;
    std::unique_lock<std::mutex> lock(mutex_);
    if (!radio_)
        return 0;
    Trace(bytes, length);
    if (settings_.hangFrom > 0 && ++sent_ >= settings_.hangFrom) {
        // A driver stuck on its device: this call comes back only when DrvStop ends the run.
        TraceLine("HANGING");
        const uint64_t run = run_;
        hangCv_.wait(lock, [&] { return run_ != run; });
        return 0;
    }
    if (!radio_->LinkUp())
        return 0;
    radio_->Write(bytes, static_cast<size_t>(length));
    return 1;
}

int SimDriver::IsConnected()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return radio_ && radio_->LinkUp() ? 1 : 0;
}

int SimDriver::Ptt(int on)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (!radio_)
        return 0;
    TraceLine(on != 0 ? "PTT 1" : "PTT 0");
    radio_->Key(on != 0);
    return 1;
}

int SimDriver::OpenCom(int port)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (port <= 0)
        return 0;
    TraceLine("OPEN COM" + std::to_string(port));
    comPort_ = port;
    return 1;
}

int SimDriver::CloseCom()
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (comPort_ != 0)
        TraceLine("CLOSE COM" + std::to_string(comPort_));
    comPort_ = 0;
    return 1;
}

int SimDriver::SetLine(bool dtr, int port, int state)
{
    std::lock_guard<std::mutex> lock(mutex_);
    TraceLine(std::string(dtr ? "DTR " : "RTS ") + std::to_string(port) + " "
              + (state ? "1" : "0"));
    (dtr ? dtr_ : rts_) = state ? 1 : 0;
    return 1;
}

int SimDriver::Setup(void* owner)
{
    std::string text;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        text = DescribeSettings(radio_ ? settings_ : ReadSettings());
    }
    if (!ShowSetupDialog(owner, text))
        std::fprintf(stderr, "%s\n", text.c_str());
    return 1;
}

int SimDriver::SupportsAudio()
{
    std::lock_guard<std::mutex> lock(mutex_);
    return (radio_ ? settings_ : ReadSettings()).audio ? 1 : 0;
}

int SimDriver::AudioStart()
{
    DrvPostFn post;
    void* context;
    unsigned msgAudio;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!radio_ || !settings_.audio)
            return 0;
        post = post_;
        context = context_;
        msgAudio = msgAudio_;
    }
    audio_.Start(post, context, msgAudio, [this] {
        std::lock_guard<std::mutex> lock(mutex_);
        return radio_ && radio_->State().squelchOpen;
    });
    return 1;
}

int SimDriver::AudioStop()
{
    audio_.Stop();
    return 1;
}

int SimDriver::AudioPause(int pause)
{
    audio_.Pause(pause != 0);
    return 1;
}

int SimDriver::Stop()
{
    audio_.Stop();
    std::unique_ptr<sim::SimulatedRadio> radio;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++run_;
        sent_ = 0;
        hangCv_.notify_all();
        session_.reset();
        radio = std::move(radio_);
        // A program that ends the link with the transmitter keyed leaves a real radio on the air.
        if (trace_ && radio && radio->State().transmitting)
            std::fputs("STOPPED WHILE KEYED\n", trace_);
        if (trace_)
            std::fclose(trace_);
        trace_ = nullptr;
    }
    // Joins the radio's thread outside the lock, so a callback that calls back into the driver
    // cannot hold it up; once this returns no callback runs or will run.
    radio.reset();
    post_ = nullptr;
    context_ = nullptr;
    return 1;
}

int SimDriver::Control(const char* command, char* reply, int replySize)
{
    std::string answer;
    int result = -1;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!session_) {
            answer = "not running";
        } else if (!command) {
            result = 0;
            answer = "no command";
        } else if (std::strncmp(command, "help ", 5) == 0) {
            // The driver's own window asks the program for a help topic.
            char* end = nullptr;
            const long topic = std::strtol(command + 5, &end, 10);
            result = end != command + 5 && topic >= 0 && post_ ? 1 : 0;
            answer = result ? "ok" : "bad topic";
            if (result)
                post_(context_, msgHelp_, static_cast<uintptr_t>(topic), 0);
        } else {
            result = session_->Run(command, answer) ? 1 : 0;
        }
    }
    if (reply && replySize > 0) {
        const size_t n = std::min(answer.size(), static_cast<size_t>(replySize - 1));
        std::memcpy(reply, answer.data(), n);
        reply[n] = '\0';
    }
    return result;
}

}  // namespace simdriver
