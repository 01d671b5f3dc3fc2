// Transmit time: the total across runs (TxRx/"TotalTimeO", "TotalTimeM", "TotalTimeS") and the
// part of this run, counted in whole seconds while the transmitter is keyed. The clock is
// injected, so a late or missed timer tick loses no second and tests need not wait.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

class CIni;

namespace txrx {

struct Duration {
    int64_t hours = 0;
    int minutes = 0;  // 0..59
    int seconds = 0;  // 0..59
    // "%d:%02d:%02d".
    std::string Text() const;
    int64_t TotalSeconds() const { return (hours * 60 + minutes) * 60 + seconds; }
    static Duration FromSeconds(int64_t seconds);
};

class CTransmitTime {
public:
    // Milliseconds of a steady clock.
    using Clock = std::function<int64_t()>;
    explicit CTransmitTime(Clock clock);

    // The stored total (values out of range are carried or dropped, never trusted).
    void Load(const CIni& ini);
    // False (reason in ini.LastError()) when the file kept its old content.
    bool Save(CIni& ini) const;

    // The PTT state after every request: counting starts and stops with it.
    void SetKeyed(bool on);
    bool IsKeyed() const { return keyed_; }
    // The timer's tick: the whole seconds passed since the last one counted are added.
    void Tick();

    void ResetPartial() { partial_ = 0; }
    void ResetTotal() { total_ = 0; }
    Duration Partial() const { return Duration::FromSeconds(partial_); }
    Duration Total() const { return Duration::FromSeconds(total_); }

private:
    void Count();

    Clock clock_;
    bool keyed_ = false;
    int64_t countedUpToMs_ = 0;
    int64_t partial_ = 0;  // seconds
    int64_t total_ = 0;
};

}  // namespace txrx
