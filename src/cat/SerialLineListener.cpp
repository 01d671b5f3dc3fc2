#include "SerialLineListener.h"

#include <cerrno>
#include <chrono>

#include "SerialPorts.h"

namespace cat {

namespace {
constexpr size_t kReadChunk = 100;
}  // namespace

CSerialLineListener::CSerialLineListener() = default;

CSerialLineListener::~CSerialLineListener()
{
    CSerialLineListener::Close();
}

bool CSerialLineListener::OpenPort(ISerialOwner* owner, int port, const SerialParams& params)
{
    const std::string device = platform::SerialPortDevice(port);
    if (device.empty()) {
        Fail(ENOENT, "no device for " + platform::PortName(port));
        return false;
    }
    return OpenDevice(owner, port, device, params);
}

bool CSerialLineListener::OpenDevice(ISerialOwner* owner, int port, const std::string& device,
                                     const SerialParams& params)
{
    // An open line has a listener feeding the receiver: a second open must not touch it.
    if (IsOpen()) {
        Fail(EALREADY, "the port is open already");
        return false;
    }
    receiver_.Reset();
    receiver_.SetOwner(owner, port);
    owner_.store(owner);
    port_.store(port);
    lineLost_.store(false);
    if (Open(device) != 0)
        return false;
    int err = Setup(params.baud, params.dataBits, params.parity, params.stopBits);
    if (err == 0)
        err = SetDtrControl(params.dtr);
    if (err == 0)
        err = SetRtsControl(params.rts);
    // Flow control only: the RTS and DTR states just set stay (they may be PTT lines).
    if (err == 0)
        err = SetupHandshaking(params.handshake);
    if (err != 0) {
        const std::string text = GetLastErrorText();
        CSerialLine::Close();
        Fail(err, text);
        return false;
    }
    return true;
}

int CSerialLineListener::StartListener()
{
    std::lock_guard<std::mutex> lock(threadMutex_);
    if (listener_.joinable() && listening_.load())
        return Succeed();
    if (!IsOpen())
        return Fail(EBADF, "the port is not open");
    if (listener_.joinable())
        listener_.join();  // a listener that ended on an error
    stop_.store(false);
    listening_.store(true);
    try {
        listener_ = std::thread([this] { ListenerLoop(); });
    } catch (const std::system_error& e) {
        listening_.store(false);
        return Fail(e.code().value(), std::string("cannot start the listener: ") + e.what());
    }
    return Succeed();
}

int CSerialLineListener::StopListener(int timeoutMs)
{
    std::lock_guard<std::mutex> lock(threadMutex_);
    if (!listener_.joinable())
        return Succeed();
    stop_.store(true);
    Wake();
    if (timeoutMs >= 0) {
        std::unique_lock<std::mutex> done(doneMutex_);
        if (!doneCv_.wait_for(done, std::chrono::milliseconds(timeoutMs),
                              [this] { return !listening_.load(); }))
            return Fail(ETIMEDOUT, "the listener did not stop in time");
    }
    listener_.join();
    stop_.store(false);
    return Succeed();
}

void CSerialLineListener::JoinListener()
{
    std::lock_guard<std::mutex> lock(threadMutex_);
    if (!listener_.joinable())
        return;
    stop_.store(true);
    Wake();
    listener_.join();
    stop_.store(false);
}

int CSerialLineListener::Close()
{
    JoinListener();
    return CSerialLine::Close();
}

bool CSerialLineListener::WriteFrame(const uint8_t* bytes, int length)
{
    if (bytes == nullptr || length <= 0)
        return false;
    size_t written = 0;
    const int err = Write(bytes, static_cast<size_t>(length), &written, -1);
    if (IsLineGone(err))
        LoseLine(err);
    return err == 0;
}

void CSerialLineListener::LoseLine(int error)
{
    // The writer and the listener may both find it: the owner hears of it once.
    if (lineLost_.exchange(true))
        return;
    Wake();
    if (ISerialOwner* owner = owner_.load())
        owner->PostSerialError(port_.load(), error);
}

void CSerialLineListener::ListenerLoop()
{
    uint8_t buffer[kReadChunk];
    int failure = 0;
    while (!stop_.load() && !lineLost_.load()) {
        unsigned events = 0;
        if (const int err = WaitEvent(-1, &events); err != 0) {
            failure = err;
            break;
        }
        if (stop_.load())
            break;
        if ((events & (kEventRxChar | kEventHangup)) != 0) {
            // A hung-up line still hands out what it received, then reports EIO.
            size_t got = 0;
            if (const int err = Read(buffer, sizeof buffer, &got, 0); err != 0) {
                failure = err;
                break;
            }
            receiver_.Feed(buffer, got);
            if (got == 0 && (events & kEventHangup) != 0) {
                failure = EIO;
                break;
            }
        }
    }
    if (failure != 0 && !stop_.load()) {
        if (IsLineGone(failure))
            LoseLine(failure);
        else if (ISerialOwner* owner = owner_.load())
            owner->PostSerialError(port_.load(), failure);
    }
    {
        std::lock_guard<std::mutex> done(doneMutex_);
        listening_.store(false);
    }
    doneCv_.notify_all();
}

}  // namespace cat
