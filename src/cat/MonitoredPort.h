// The monitor-thread serial back-end: one thread both reads the line (feeding the frame
// assembler) and performs the writes that WriteFrame requests. Errors go to the owner as
// kSerialError (errno, port number).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "CivTransport.h"
#include "SerialLine.h"
#include "SerialOwner.h"
#include "SerialParams.h"
#include "SerialReceiver.h"

namespace cat {

class CMonitoredPort : public ICivWriter {
public:
    static constexpr int kWriteBufferSize = 512;
    static constexpr int kWriteWaitMs = 200;  // WriteFrame's wait; the worker goes on after it

    CMonitoredPort();
    virtual ~CMonitoredPort();
    CMonitoredPort(const CMonitoredPort&) = delete;
    CMonitoredPort& operator=(const CMonitoredPort&) = delete;

    // Opens COMn (through the port mapping) with the parameters; RTS and DTR take their states
    // right after the open. False (reported to the owner, the port closed) when the port cannot be
    // opened or refuses a parameter.
    bool InitPort(ISerialOwner* owner, int port, const SerialParams& params);
    bool InitDevice(ISerialOwner* owner, int port, const std::string& device,
                    const SerialParams& params);

    bool StartMonitoring();
    // Ends the monitor thread and waits for it (it ends promptly).
    void StopMonitoring();
    bool IsMonitoring() const { return alive_.load(); }
    void Close();

    // Copies the frame into the write buffer and waits up to kWriteWaitMs for the monitor thread
    // to write it; false when it was not written in that time (or is longer than the buffer).
    bool WriteFrame(const uint8_t* bytes, int length) override;

    // 0 off, 1 on; false (reported to the owner) on failure.
    bool SetRtsControl(int value);
    bool SetDtrControl(int value);

    void RegisterWorker(CGestCommand* worker) { receiver_.RegisterWorker(worker); }

    // "baud=%d parity=%c data=%d stop=%d" as applied to the port.
    const std::string& Definition() const { return definition_; }
    const CSerialLine& Line() const { return line_; }
    CSerialLine& Line() { return line_; }
    // Why InitPort/InitDevice failed (errno value and text); 0 after a successful open.
    int GetLastError() const { return lastError_; }
    const std::string& GetLastErrorText() const { return lastErrorText_; }
    bool IsLineLost() const { return lineLost_.load(); }
    uint64_t DroppedFrames() const { return receiver_.DroppedFrames(); }

private:
    void MonitorLoop();
    // 0, or the write's error.
    int PerformWrite();
    void ReadAvailable(unsigned events, int& failure);
    void CheckModemLines();
    void Report(int error);

    CSerialLine line_;
    CSerialReceiver receiver_;
    std::atomic<ISerialOwner*> owner_{nullptr};
    std::atomic<int> port_{0};
    std::string definition_;
    int lastError_ = 0;
    std::string lastErrorText_;

    std::mutex threadMutex_;
    std::thread monitor_;
    std::atomic<bool> shutdown_{false};
    std::atomic<bool> alive_{false};
    std::atomic<bool> lineLost_{false};
    int lastCts_ = -1;

    // The write request: guarded by writeMutex_.
    std::mutex writeMutex_;
    std::condition_variable writeDoneCv_;
    uint8_t writeBuffer_[kWriteBufferSize] = {};
    int writeLength_ = 0;
    bool writeRequested_ = false;
    uint64_t writeSerial_ = 0;  // counts requests, so a late completion is not taken for a new one
    uint64_t writeDone_ = 0;    // the last request the monitor finished
    bool writeOk_ = false;
};

}  // namespace cat
