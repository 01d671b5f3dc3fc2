// The controller's end of the "serial cable": a pseudo-terminal in raw mode whose device path a
// CI-V controller opens. radiosim keeps the terminal side open itself, so the controller may
// close and reopen the device as often as it likes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace radiosim {

class PtyPort {
public:
    PtyPort() = default;
    ~PtyPort();
    PtyPort(const PtyPort&) = delete;
    PtyPort& operator=(const PtyPort&) = delete;

    // False with the reason in `error` when no pseudo-terminal could be made.
    bool Open(std::string& error);
    const std::string& Path() const { return path_; }
    int Fd() const { return master_; }

    // Bytes towards the controller; waits a little while its input is full, then drops them,
    // as a serial line overruns.
    void Send(const uint8_t* bytes, size_t length);
    // What the controller wrote: the count read, 0 for nothing now, -1 when the device is gone.
    long Receive(uint8_t* buffer, size_t size);

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};

}  // namespace radiosim
