#include "MonitoredPort.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sys/ioctl.h>
#include <termios.h>

#include "SerialPorts.h"

namespace cat {

namespace {
constexpr int kModemPollMs = 100;  // how often CTS is looked at while the line is quiet
constexpr size_t kReadChunk = 256;
}  // namespace

CMonitoredPort::CMonitoredPort() = default;

CMonitoredPort::~CMonitoredPort()
{
    Close();
}

void CMonitoredPort::Report(int error)
{
    if (ISerialOwner* owner = owner_.load())
        owner->PostSerialError(port_.load(), error);
}

bool CMonitoredPort::InitPort(ISerialOwner* owner, int port, const SerialParams& params)
{
    const std::string device = platform::SerialPortDevice(port);
    if (device.empty()) {
        owner_.store(owner);
        port_.store(port);
        lastError_ = ENOENT;
        lastErrorText_ = "no device for " + platform::PortName(port);
        Report(ENOENT);
        return false;
    }
    return InitDevice(owner, port, device, params);
}

bool CMonitoredPort::InitDevice(ISerialOwner* owner, int port, const std::string& device,
                                const SerialParams& params)
{
    Close();
    receiver_.Reset();
    receiver_.SetOwner(owner, port);
    owner_.store(owner);
    port_.store(port);
    lineLost_.store(false);
    lastCts_ = -1;
    {
        std::lock_guard<std::mutex> lock(writeMutex_);
        writeLength_ = 0;
        writeRequested_ = false;
    }
    if (line_.Open(device) != 0) {
        lastError_ = line_.GetLastError();
        lastErrorText_ = line_.GetLastErrorText();
        Report(lastError_);
        return false;
    }
    lastError_ = 0;
    lastErrorText_.clear();
    // The lines first: they may key a transmitter, so they take their state at once. A port
    // that cannot take its settings is closed: it would talk at the wrong speed.
    int err = line_.SetDtrControl(params.dtr);
    if (err == 0)
        err = line_.SetRtsControl(params.rts);
    const char parity = static_cast<char>(
        params.parity >= 'a' && params.parity <= 'z' ? params.parity - 32 : params.parity);
    char definition[96];
    std::snprintf(definition, sizeof definition, "baud=%d parity=%c data=%d stop=%d", params.baud,
                  parity >= 0x20 && parity < 0x7F ? parity : '?', params.dataBits, params.stopBits);
    definition_ = definition;
    if (err == 0)
        err = line_.Setup(params.baud, params.dataBits, params.parity, params.stopBits);
    if (err == 0)
        err = line_.SetupHandshaking(params.handshake);
    if (err != 0) {
        Report(err);
        const int keep = err;
        const std::string text = line_.GetLastErrorText();
        line_.Close();
        lastErrorText_ = text;
        lastError_ = keep;
        return false;
    }
    line_.Purge(TCIOFLUSH);
    return true;
}

bool CMonitoredPort::StartMonitoring()
{
    std::lock_guard<std::mutex> lock(threadMutex_);
    if (alive_.load())
        return true;
    if (!line_.IsOpen())
        return false;
    if (monitor_.joinable())
        monitor_.join();  // a monitor that ended when the device went away
    shutdown_.store(false);
    alive_.store(true);
    try {
        monitor_ = std::thread([this] { MonitorLoop(); });
    } catch (const std::system_error& e) {
        alive_.store(false);
        Report(e.code().value());
        return false;
    }
    return true;
}

void CMonitoredPort::StopMonitoring()
{
    std::lock_guard<std::mutex> lock(threadMutex_);
    if (!monitor_.joinable())
        return;
    shutdown_.store(true);
    line_.Wake();
    monitor_.join();
    shutdown_.store(false);
}

void CMonitoredPort::Close()
{
    StopMonitoring();
    if (line_.IsOpen())
        line_.Close();
    // A writer still waiting learns that nothing will be written.
    std::lock_guard<std::mutex> lock(writeMutex_);
    writeRequested_ = false;
    writeDoneCv_.notify_all();
}

bool CMonitoredPort::WriteFrame(const uint8_t* bytes, int length)
{
    if (bytes == nullptr || length <= 0 || length > kWriteBufferSize)
        return false;
    std::unique_lock<std::mutex> lock(writeMutex_);
    if (!alive_.load())
        return false;
    std::memcpy(writeBuffer_, bytes, static_cast<size_t>(length));
    writeLength_ = length;
    writeRequested_ = true;
    const uint64_t serial = ++writeSerial_;
    line_.Wake();
    return writeDoneCv_.wait_for(lock, std::chrono::milliseconds(kWriteWaitMs),
                                 [&] { return writeDone_ >= serial || !alive_.load(); })
           && writeDone_ >= serial && writeOk_;
}

// The line's last error may already be another thread's by now: report the one returned.
bool CMonitoredPort::SetRtsControl(int value)
{
    const int err = line_.SetRtsControl(value);
    if (err != 0)
        Report(err);
    return err == 0;
}

bool CMonitoredPort::SetDtrControl(int value)
{
    const int err = line_.SetDtrControl(value);
    if (err != 0)
        Report(err);
    return err == 0;
}

int CMonitoredPort::PerformWrite()
{
    uint8_t frame[kWriteBufferSize];
    int length = 0;
    uint64_t serial = 0;
    {
        std::lock_guard<std::mutex> lock(writeMutex_);
        if (!writeRequested_)
            return 0;
        writeRequested_ = false;
        length = writeLength_;
        serial = writeSerial_;
        std::memcpy(frame, writeBuffer_, static_cast<size_t>(length));
    }
    // Stale bytes of an abandoned write must not run into this frame. The input stays: it may
    // hold a frame the radio sent on its own.
    line_.Purge(TCOFLUSH);
    size_t written = 0;
    const int err = line_.Write(frame, static_cast<size_t>(length), &written, -1);
    // A gone device is reported once, as the loop ends.
    if (err != 0 && !IsLineGone(err))
        Report(err);
    std::lock_guard<std::mutex> lock(writeMutex_);
    writeDone_ = serial;
    writeOk_ = err == 0;
    writeDoneCv_.notify_all();
    return err;
}

void CMonitoredPort::ReadAvailable(unsigned events, int& failure)
{
    uint8_t buffer[kReadChunk];
    for (;;) {
        size_t got = 0;
        if (const int err = line_.Read(buffer, sizeof buffer, &got, 0); err != 0) {
            failure = err;
            return;
        }
        if (got == 0) {
            if ((events & CSerialLine::kEventHangup) != 0)
                failure = EIO;
            return;
        }
        receiver_.Feed(buffer, got);
    }
}

void CMonitoredPort::CheckModemLines()
{
    if (!line_.HasModemControl())
        return;
    int bits = 0;
    if (line_.GetModemLines(&bits) != 0)
        return;
    const int cts = (bits & TIOCM_CTS) != 0 ? 1 : 0;
    if (lastCts_ >= 0 && cts != lastCts_)
        if (ISerialOwner* owner = owner_.load())
            owner->PostSerialEvent(port_.load(), kSerialCts);
    lastCts_ = cts;
}

void CMonitoredPort::MonitorLoop()
{
    int failure = 0;
    while (!shutdown_.load()) {
        unsigned events = 0;
        if (const int err = line_.WaitEvent(kModemPollMs, &events); err != 0) {
            failure = err;
            break;
        }
        if (shutdown_.load())
            break;
        if ((events & (CSerialLine::kEventRxChar | CSerialLine::kEventHangup)) != 0) {
            ReadAvailable(events, failure);
            if (failure != 0)
                break;
        }
        if (const int err = PerformWrite(); IsLineGone(err)) {
            failure = err;
            break;
        }
        CheckModemLines();
    }
    if (failure != 0 && !shutdown_.load()) {
        lineLost_.store(IsLineGone(failure));
        Report(failure);
    }
    std::lock_guard<std::mutex> lock(writeMutex_);
    alive_.store(false);
    writeDoneCv_.notify_all();
}

}  // namespace cat
