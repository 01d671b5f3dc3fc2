// Records sound into a WAV file and plays one back, one operation at a time, over a WaveSystem.
// Recording takes its sound from an input device (two alternating buffers) or, when the radio
// driver delivers the receiver audio, from the blocks handed to WriteBytes. The devices post
// their progress to the window named at the start; that window passes each message to
// OnDeviceMessage, which does the engine's part of the handling.
//
// Offsets are file offsets throughout (what GetPositionBytes answers and what callers store):
// one inside the header means the first data byte; they are rounded down to the block
// alignment.
//
// Answers: 0 success, otherwise the step that failed.
//   StartRecording  52 busy (recording or playing), 1 the input cannot be opened with the format
//                   (or, with driver audio, an appended file's format is not the driver's),
//                   10 + n file error (WaveFile.h), 3 header preparation, 5 the device does not
//                   start, 20 + n buffer hand-over
//   StartPlay       1 busy, 10 + n file error (OpenWaveFile), 2 the output cannot be opened,
//                   3 header preparation, 4 the first buffer was not accepted
//   OpenWaveFile    1..6 as WaveFile.h, 7 empty data, 8 offset at or past the data end
//   SeekPlay        20 offset at or past the data end (playback ends), 21 nothing plays,
//                   22 no file, 23 recording
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CWaveDevice.h"
#include "MessageTarget.h"
#include "WaveDevices.h"
#include "WaveFile.h"
#include "WaveFormat.h"

class Profile;

namespace audio {

class WaveEngine {
public:
    enum { kIdle = 0, kRecording = 1, kPlaying = 2 };
    static constexpr std::uint32_t kBufferSize = 32000;
    static constexpr int kRecordBusy = 52;

    // What OnDeviceMessage did, for the window's own reaction.
    enum class Event { None, Recorded, RecordingClosed, Queued, PlaybackEnded, OutputClosed };

    // Init. `system` and `settings` outlive the engine.
    WaveEngine(WaveSystem& system, const Profile& settings);
    ~WaveEngine();  // Release: stops whatever runs
    WaveEngine(const WaveEngine&) = delete;
    WaveEngine& operator=(const WaveEngine&) = delete;

    // The owner tells whether the radio driver delivers the receiver audio.
    void SetDriverAudio(std::function<bool()> inUse) { driverAudio_ = std::move(inUse); }
    bool DriverAudioInUse() const { return driverAudio_ && driverAudio_(); }

    // 1 when the system has no input device; 0 otherwise (also when already open).
    int Open();
    void Close();
    bool IsOpen() const { return isOpen_; }

    // ---- the recording format ----
    // A block of up to kFormatSize bytes; an invalid one is refused and the old format stays.
    bool SetFormatData(const std::uint8_t* block, std::size_t size);
    bool SetFormat(const WaveFormat& format);
    void GetFormatData(std::uint8_t* out) const;  // kFormatSize bytes
    int GetFormatSize() const { return static_cast<int>(kFormatSize); }
    const WaveFormat& Format() const { return format_; }
    const std::string& GetFormatTagName() const { return tagName_; }
    const std::string& GetFormatName() const { return formatName_; }
    // The table's formats that the input device can record.
    std::vector<WaveFormat> RecordableFormats();
    // The chooser is offered those, starting at the current format; it answers 0 with a choice,
    // -1 when cancelled, anything else on an error. Answers 0 for a new format, -1 when cancelled
    // or the same was chosen, 1 otherwise (the old format then stays).
    using FormatChooser = std::function<int(const std::vector<WaveFormat>& offered,
                                            const WaveFormat& current, WaveFormat& chosen)>;
    int ChooseFormat(const FormatChooser& chooser);
    // A format block posted by the driver: taken unless a recording in another format runs
    // (1); 5 when invalid.
    int TakeDriverFormat(const std::uint8_t* data, std::size_t size);

    // ---- recording ----
    int StartRecording(platform::MessagePoster window, const std::string& fileName, bool append);
    int CreateWaveFile(const std::string& fileName, bool append);
    int WriteBuffer(std::uint32_t count);
    // Driver audio; dropped while paused. 1 on a short write.
    int WriteBytes(std::uint32_t count, const std::uint8_t* data);
    int AddBuffer();
    void StopInput();
    // 0, or 1 when the file could not be completed (the failure is also in RecordingFailed).
    int CloseInput();
    int PauseRecording(bool pause);
    bool RecordingPaused() const { return paused_; }
    // The last recording lost samples or could not be completed.
    bool RecordingFailed() const { return recordingFailed_; }

    // ---- playback ----
    // maxLength 0: to the end of the data.
    int StartPlay(std::uint32_t offset, const std::string& fileName, platform::MessagePoster window,
                  std::uint32_t maxLength);
    int OpenWaveFile(const std::string& fileName, std::uint32_t offset, std::uint32_t maxLength);
    void CloseWaveFile() { reader_.Close(); }
    int FillAndWrite();
    void StopPlay();
    int PausePlay(bool pause);
    int SeekPlay(std::uint32_t offset);

    // ---- position ----
    std::int64_t GetPositionBytes() const;
    std::string GetPositionText() const;
    static std::string PositionText(std::int64_t ms);

    Event OnDeviceMessage(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam);

    // What made the last failed start fail, naming the device or the file.
    const std::string& LastProblem() const { return problem_; }
    void ClearProblem() { problem_.clear(); }

    int State() const { return state_; }
    // The voice keyer holds the engine busy between two transmissions.
    void HoldBusy(bool on);
    bool DeviceOpen() const { return deviceOpen_; }
    bool InputClosing() const { return inputClosing_; }
    int MoreToPlay() const { return moreToPlay_; }
    std::uint32_t BytesDone() const { return bytesDone_; }
    std::uint32_t BytesToPlay() const { return bytesToPlay_; }
    std::uint32_t BufferLength() const { return bufferLength_; }
    std::uint32_t StartOffset() const { return startOffset_; }
    const std::string& FileName() const { return fileName_; }
    const std::string& PlayFile() const { return playFile_; }
    // The data of the file OpenWaveFile read last.
    const WaveLayout& PlayLayout() const { return reader_.Layout(); }
    const WaveFormat& PlayFormat() const { return playFormat_; }
    CWaveDevice& InputDevice() { return inputDevice_; }
    CWaveDevice& OutputDevice() { return outputDevice_; }

private:
    void SetBufferLength(const WaveFormat& format);
    void RefreshNames();
    void PrepareHeaders();
    std::uintptr_t NextSession() { return ++sessionCounter_; }
    // Notes the cause of a failed start and answers its code.
    int Fail(int code, std::string problem);
    std::string DeviceLabel(bool input) const;

    WaveSystem& system_;
    const Profile& settings_;
    std::function<bool()> driverAudio_;
    CWaveDevice inputDevice_;
    CWaveDevice outputDevice_;

    bool isOpen_ = false;
    WaveFormat format_;        // the recording format in force
    WaveFormat recordFormat_;  // the format of the running recording
    WaveFormat playFormat_;    // the format of the file being played
    std::string tagName_;
    std::string formatName_;

    int state_ = kIdle;
    bool deviceOpen_ = false;
    bool inputClosing_ = false;
    bool paused_ = false;
    bool recordingFailed_ = false;
    int moreToPlay_ = 0;
    std::uint32_t bytesDone_ = 0;
    std::uint32_t bytesToPlay_ = 0;
    std::uint32_t bufferLength_ = kBufferSize;
    std::uint32_t startOffset_ = 0;
    std::uint32_t segmentEnd_ = 0;    // file offset where the running playback ends
    std::uint64_t sessionBytes_ = 0;  // driver audio written in this recording
    int currentBuffer_ = 0;           // the buffer to hand over next
    int returning_ = 0;               // the buffer the device gives back next
    int outstanding_ = 0;             // buffers handed to the device and not yet back
    std::array<WaveHeader, 2> headers_{};
    std::array<std::vector<std::uint8_t>, 2> buffers_;
    std::string fileName_;
    std::string playFile_;
    std::string problem_;
    platform::MessagePoster callbackWindow_;

    std::uintptr_t sessionCounter_ = 0;
    std::uintptr_t session_ = 0;  // of the open device; 0 when none
    std::unique_ptr<WaveInput> waveIn_;
    std::unique_ptr<WaveOutput> waveOut_;
    WaveFileWriter writer_;
    WaveFileReader reader_;
};

}  // namespace audio
