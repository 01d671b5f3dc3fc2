// A serial line over termios: opened by device path, raw, exclusive, non-blocking underneath.
//
// Operations return 0 or an errno value and keep it as the last error, with a readable text;
// a line that is not open gives EBADF. Write and Read are safe from two threads at once (one
// writer, one reader); Close may come from a third while they run: it wakes them and waits.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <shared_mutex>
#include <string>

#include "SerialParams.h"

namespace cat {

class CSerialLine {
public:
    // What WaitEvent reports.
    static constexpr unsigned kEventRxChar = 1;  // bytes can be read
    static constexpr unsigned kEventHangup = 2;  // the device is gone (EIO/POLLHUP)
    static constexpr unsigned kEventWake = 4;    // Wake was called

    CSerialLine();
    virtual ~CSerialLine();
    CSerialLine(const CSerialLine&) = delete;
    CSerialLine& operator=(const CSerialLine&) = delete;

    // Opens the device read/write, close-on-exec, without becoming its controlling terminal;
    // takes an exclusive lock (EBUSY when another program holds the port) and sets raw mode at
    // the device's current speed. EALREADY when this line is open already.
    virtual int Open(const std::string& device);
    virtual int Close();
    // EINVAL for a speed that is not a standard rate, data bits outside 5..8, an unknown parity
    // letter or stop bits other than 1 and 2; the line is then unchanged.
    virtual int Setup(int baud, int dataBits, char parity, int stopBits);
    // Flow control only: the RTS and DTR states set before stay as they are (except that the
    // kernel drives RTS in hardware mode). EINVAL for an unknown kind, leaving the line unchanged.
    virtual int SetupHandshaking(int kind);
    // 0 drops the line, 1 raises it; other values give EINVAL. The state is recorded, and kept
    // across later set-up calls. A line without modem control (a pseudo-terminal) only records.
    int SetDtrControl(int value);
    int SetRtsControl(int value);

    // Writes all bytes, waiting up to timeoutMs for room; timeoutMs < 0 waits as long as the bytes
    // take at the line's speed plus a second, never forever. ETIMEDOUT with `written` short when
    // the time ran out.
    virtual int Write(const uint8_t* bytes, size_t length, size_t* written, int timeoutMs);
    // Reads what is there, waiting up to timeoutMs (0: not at all) for the first byte. A read of
    // 0 bytes is not an error; a vanished device gives EIO.
    virtual int Read(uint8_t* buffer, size_t size, size_t* read, int timeoutMs);
    // Waits until bytes arrive, the device goes away or Wake is called (timeoutMs < 0: no limit).
    int WaitEvent(int timeoutMs, unsigned* events);
    // Ends the current (or next) WaitEvent; any thread.
    void Wake();
    // Drops what waits in the output queue (TCOFLUSH), the input queue (TCIFLUSH) or both.
    int Purge(int queueSelector);

    bool IsOpen() const;
    const std::string& DevicePath() const { return device_; }
    int GetBaud() const { return baud_.load(); }
    int GetDataBits() const { return dataBits_; }
    char GetParity() const { return parity_; }
    int GetStopBits() const { return stopBits_; }
    int GetHandshaking() const { return handshake_; }
    // The recorded RTS/DTR states (-1 before they were set).
    int GetRtsState() const { return rts_; }
    int GetDtrState() const { return dtr_; }
    // Whether the device has modem-control lines (false on a pseudo-terminal).
    bool HasModemControl() const { return modemControl_; }
    // TIOCM_* bits as the device reports them; ENOTTY without modem control.
    int GetModemLines(int* bits);

    int GetLastError() const { return lastError_.load(); }
    std::string GetLastErrorText() const;

    // Milliseconds the bytes take on the line at its speed, plus a second of slack.
    int LineTimeMs(size_t length) const;

protected:
    int Fail(int error, const std::string& text);
    int Succeed();

private:
    int ApplyLine(int bit, int value, std::atomic<int>& state);
    int WaitFor(short what, int timeoutMs, short* got);

    mutable std::shared_mutex lifeMutex_;  // shared: I/O; exclusive: open and close
    std::mutex configMutex_;               // termios changes
    int fd_ = -1;
    int wakeFd_ = -1;
    std::atomic<bool> closing_{false};
    std::string device_;

    std::atomic<int> baud_{0};
    int dataBits_ = 8;
    char parity_ = 'N';
    int stopBits_ = 1;
    int handshake_ = kHandshakeOff;
    std::atomic<int> rts_{-1};
    std::atomic<int> dtr_{-1};
    std::atomic<bool> modemControl_{true};

    std::atomic<int> lastError_{0};
    mutable std::mutex textMutex_;
    std::string lastErrorText_;
};

}  // namespace cat
