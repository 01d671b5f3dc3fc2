#include "WaveEngine.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "FormatTable.h"
#include "MessagePump.h"
#include "Profile.h"
#include "SettingsKeys.h"
#include "WindowMessages.h"

namespace audio {

namespace {

// An empty file name records into a new file of the temporary folder.
std::string TemporaryWaveName()
{
    std::error_code ec;
    std::string path = (std::filesystem::temp_directory_path(ec) / "vekXXXXXX.wav").string();
    const int fd = ::mkstemps(path.data(), 4);
    if (fd < 0)
        return {};
    ::close(fd);
    return path;
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

// The cause of a file step's error (WaveFile.h), read right after it failed.
std::string FileProblem(const std::string& path, int code)
{
    const std::string file = "the file " + Quoted(path);
    if (code == 11 || code == 1)
        return file + " cannot be opened: " + std::strerror(errno);
    if (code > 11)
        return file + " cannot be written: " + std::strerror(errno);
    if (code == 7)
        return file + " holds no sound";
    if (code == 8)
        return file + " ends before the chosen place";
    return file + " is not a WAV file that can be read";
}

}  // namespace

WaveEngine::WaveEngine(WaveSystem& system, const Profile& settings)
    : system_(system), settings_(settings), inputDevice_(system), outputDevice_(system)
{
    RefreshNames();
}

WaveEngine::~WaveEngine()
{
    StopPlay();
    if (state_ == kRecording || deviceOpen_) {
        state_ = kIdle;
        CloseInput();
    }
    writer_.Finish();
}

int WaveEngine::Open()
{
    if (isOpen_)
        return 0;
    if (system_.InputNames().empty()) {
        // The device the settings name, and why the sound system offers none.
        const std::string chosen = settings_.Get(settings::reg::AudioInput);
        const std::string device = chosen == kDefaultDeviceName
                                       ? "the default sound input device"
                                       : "the sound input device " + Quoted(chosen);
        const std::string why = system_.Problem();
        return Fail(1, device + " cannot record: there is no sound input device"
                           + (why.empty() ? "" : " (" + why + ")"));
    }
    inputDevice_.GetDeviceIdFromSettings(true, settings_);
    for (auto& buffer : buffers_)
        buffer.assign(kBufferSize, 0);
    SetBufferLength(format_);
    isOpen_ = true;
    return 0;
}

void WaveEngine::Close()
{
    if (!isOpen_)
        return;
    StopPlay();
    if (deviceOpen_ || state_ == kRecording) {
        state_ = kIdle;
        CloseInput();
    }
    for (auto& buffer : buffers_)
        std::vector<std::uint8_t>().swap(buffer);
    isOpen_ = false;
}

int WaveEngine::Fail(int code, std::string problem)
{
    problem_ = std::move(problem);
    return code;
}

std::string WaveEngine::DeviceLabel(bool input) const
{
    const CWaveDevice& device = input ? inputDevice_ : outputDevice_;
    const std::string kind = input ? "sound input device" : "sound output device";
    if (device.DeviceId < 0)
        return "the default " + kind;
    const int id = device.DeviceId;
    return "the " + kind + " "
           + Quoted(input ? device.GetInputDeviceName(id) : device.GetOutputDeviceName(id));
}

void WaveEngine::SetBufferLength(const WaveFormat& f)
{
    bufferLength_ = kBufferSize - kBufferSize % std::max<std::uint32_t>(f.blockAlign, 1);
}

void WaveEngine::RefreshNames()
{
    tagName_ = FormatTagName(format_);
    formatName_ = FormatName(format_);
}

bool WaveEngine::SetFormat(const WaveFormat& format)
{
    if (!IsValid(format))
        return false;
    format_ = format;
    RefreshNames();
    return true;
}

bool WaveEngine::SetFormatData(const std::uint8_t* block, std::size_t size)
{
    const auto format = ParseFormat(block, std::min(size, kFormatSize));
    return format && SetFormat(*format);
}

void WaveEngine::GetFormatData(std::uint8_t* out) const
{
    const auto block = ToBlock(format_);
    std::copy(block->begin(), block->end(), out);
}

std::vector<WaveFormat> WaveEngine::RecordableFormats()
{
    inputDevice_.GetDeviceIdFromSettings(true, settings_);
    std::vector<WaveFormat> offered;
    for (const WaveFormat& f : FormatTable())
        if (inputDevice_.CanOpenInput(f))
            offered.push_back(f);
    return offered;
}

int WaveEngine::ChooseFormat(const FormatChooser& chooser)
{
    WaveFormat chosen = format_;
    const int result = chooser(RecordableFormats(), format_, chosen);
    if (result == -1)
        return -1;
    if (result != 0 || !IsValid(chosen))
        return 1;
    if (chosen == format_)
        return -1;
    SetFormat(chosen);
    return 0;
}

int WaveEngine::TakeDriverFormat(const std::uint8_t* data, std::size_t size)
{
    const auto format = ParseFormat(data, std::min(size, kFormatSize));
    if (!format)
        return 5;
    if (state_ == kRecording && !(*format == recordFormat_))
        return 1;
    SetFormat(*format);
    return 0;
}

// ---- recording ----

int WaveEngine::CreateWaveFile(const std::string& fileName, bool append)
{
    startOffset_ = 0;
    if (append) {
        const int result = writer_.OpenForAppend(fileName);
        if (result != 0)
            return result;
        recordFormat_ = writer_.Format();
        startOffset_ = static_cast<std::uint32_t>(writer_.Offset());
        return 0;
    }
    recordFormat_ = format_;
    return writer_.Create(fileName, recordFormat_);
}

void WaveEngine::PrepareHeaders()
{
    for (int i = 0; i < 2; ++i) {
        headers_[i] = WaveHeader{buffers_[i].data(), bufferLength_, 0, true};
    }
}

int WaveEngine::StartRecording(platform::MessagePoster window, const std::string& fileName,
                               bool append)
{
    if (state_ != kIdle || deviceOpen_)
        return kRecordBusy;
    problem_.clear();
    // The driver's blocks need no input device.
    const bool driverAudio = DriverAudioInUse();
    if (!driverAudio && !isOpen_ && Open() != 0)
        return 1;
    inputDevice_.GetDeviceIdFromSettings(true, settings_);
    fileName_ = fileName.empty() ? TemporaryWaveName() : fileName;
    if (fileName_.empty())
        return Fail(10 + 11, "no file can be made in the temporary folder");
    // The file first: an appended file decides the format the device must deliver.
    const int fileResult = CreateWaveFile(fileName_, append);
    if (fileResult != 0)
        return Fail(10 + fileResult, FileProblem(fileName_, fileResult));
    recordingFailed_ = false;
    paused_ = false;
    sessionBytes_ = 0;
    callbackWindow_ = window;
    if (driverAudio) {
        if (!(recordFormat_ == format_)) {
            writer_.Abandon();
            return Fail(1, "the file " + Quoted(fileName_) + " holds " + FormatName(recordFormat_)
                               + ", the radio driver delivers " + FormatName(format_));
        }
        state_ = kRecording;
        return 0;
    }
    session_ = NextSession();
    waveIn_ =
        system_.OpenInput(inputDevice_.DeviceId, recordFormat_, DeviceTarget{window, session_});
    if (!waveIn_) {
        session_ = 0;
        writer_.Abandon();
        return Fail(1, DeviceLabel(true) + " cannot record " + FormatTagName(recordFormat_) + " "
                           + FormatName(recordFormat_));
    }
    deviceOpen_ = true;
    inputClosing_ = false;
    SetBufferLength(recordFormat_);
    PrepareHeaders();
    currentBuffer_ = 0;
    returning_ = 0;
    outstanding_ = 0;
    state_ = kRecording;
    int result = AddBuffer();
    if (result == 0 && waveIn_->Start() != 0)
        result = 5;
    else if (result == 0 && AddBuffer() != 0)
        result = 21;
    else if (result != 0)
        result = 20;
    if (result != 0) {
        state_ = kIdle;
        waveIn_.reset();
        session_ = 0;
        deviceOpen_ = false;
        writer_.Abandon();
        problem_ = DeviceLabel(true) + (result == 5 ? " does not start" : " refuses its buffers");
    }
    return result;
}

int WaveEngine::WriteBuffer(std::uint32_t count)
{
    // Buffers come back in the order they went out: the one returning is the current one.
    const WaveHeader& h = headers_[static_cast<std::size_t>(returning_)];
    count = std::min(count, h.bufferLength);
    if (count == 0)
        return 0;
    if (!writer_.Write(h.data, count)) {
        recordingFailed_ = true;
        return 1;
    }
    return 0;
}

int WaveEngine::WriteBytes(std::uint32_t count, const std::uint8_t* data)
{
    if (state_ != kRecording || !writer_.IsOpen() || !data)
        return 1;
    if (paused_)
        return 0;
    if (!writer_.Write(data, count)) {
        recordingFailed_ = true;
        return 1;
    }
    sessionBytes_ += count;
    return 0;
}

int WaveEngine::AddBuffer()
{
    if (!waveIn_)
        return 1;
    WaveHeader& h = headers_[static_cast<std::size_t>(currentBuffer_)];
    h.bytesRecorded = 0;
    if (waveIn_->AddBuffer(h) != 0) {
        StopInput();
        return 1;
    }
    ++outstanding_;
    currentBuffer_ ^= 1;
    return 0;
}

void WaveEngine::StopInput()
{
    if (state_ == kRecording)
        state_ = kIdle;
    paused_ = false;
    if (waveIn_)
        waveIn_->Reset();
    else if (writer_.IsOpen() && !writer_.Finish())
        recordingFailed_ = true;
}

int WaveEngine::CloseInput()
{
    if (!deviceOpen_ || !waveIn_)
        return recordingFailed_ ? 1 : 0;
    if (writer_.IsOpen() && !writer_.Finish())
        recordingFailed_ = true;
    for (auto& h : headers_)
        h.prepared = false;
    inputClosing_ = true;
    waveIn_.reset();
    session_ = 0;
    outstanding_ = 0;
    deviceOpen_ = false;
    state_ = kIdle;
    return recordingFailed_ ? 1 : 0;
}

int WaveEngine::PauseRecording(bool pause)
{
    if (state_ != kRecording)
        return 1;
    if (pause == paused_)
        return 0;
    if (pause)
        startOffset_ = static_cast<std::uint32_t>(writer_.Offset());
    int result = 0;
    if (waveIn_)
        result = pause ? waveIn_->Reset() : waveIn_->Start();
    if (result == 0)
        paused_ = pause;
    return result;
}

// ---- playback ----

int WaveEngine::OpenWaveFile(const std::string& fileName, std::uint32_t offset,
                             std::uint32_t maxLength)
{
    const int result = reader_.Open(fileName);
    if (result != 0)
        return Fail(result, FileProblem(fileName, result));
    const WaveLayout& layout = reader_.Layout();
    if (layout.dataSize == 0) {
        reader_.Close();
        return Fail(7, FileProblem(fileName, 7));
    }
    std::uint32_t dataOffset = offset > layout.dataStart ? offset - layout.dataStart : 0;
    dataOffset -= dataOffset % layout.format.blockAlign;
    if (dataOffset >= layout.dataSize || !reader_.SeekData(dataOffset)) {
        reader_.Close();
        return Fail(8, FileProblem(fileName, 8));
    }
    playFormat_ = layout.format;
    startOffset_ = layout.dataStart + dataOffset;
    bytesToPlay_ = layout.dataSize - dataOffset;
    if (maxLength != 0 && maxLength < bytesToPlay_)
        bytesToPlay_ = maxLength;
    playFile_ = fileName;
    return 0;
}

int WaveEngine::StartPlay(std::uint32_t offset, const std::string& fileName,
                          platform::MessagePoster window, std::uint32_t maxLength)
{
    if (deviceOpen_ || state_ != kIdle)
        return 1;
    problem_.clear();
    // Playing needs the buffers, not an input device.
    for (auto& buffer : buffers_)
        if (buffer.size() < kBufferSize)
            buffer.assign(kBufferSize, 0);
    const int fileResult = OpenWaveFile(fileName, offset, maxLength);
    if (fileResult != 0)
        return 10 + fileResult;
    outputDevice_.GetDeviceIdFromSettings(false, settings_);
    session_ = NextSession();
    waveOut_ =
        system_.OpenOutput(outputDevice_.DeviceId, playFormat_, DeviceTarget{window, session_});
    if (!waveOut_) {
        session_ = 0;
        reader_.Close();
        return Fail(2, DeviceLabel(false) + " cannot play " + FormatTagName(playFormat_) + " "
                           + FormatName(playFormat_));
    }
    deviceOpen_ = true;
    segmentEnd_ = startOffset_ + bytesToPlay_;
    SetBufferLength(playFormat_);
    PrepareHeaders();
    currentBuffer_ = 0;
    returning_ = 0;
    bytesDone_ = 0;
    outstanding_ = 0;
    callbackWindow_ = window;
    moreToPlay_ = 1;
    if (FillAndWrite() != 0 || outstanding_ == 0) {
        StopPlay();
        return Fail(4, DeviceLabel(false) + " refuses the sound");
    }
    moreToPlay_ = 2;
    state_ = kPlaying;
    FillAndWrite();
    return 0;
}

int WaveEngine::FillAndWrite()
{
    if (!waveOut_)
        return 1;
    if (bytesDone_ >= bytesToPlay_) {
        moreToPlay_ = 0;
        return 0;
    }
    WaveHeader& h = headers_[static_cast<std::size_t>(currentBuffer_)];
    const std::uint32_t wanted = std::min(bufferLength_, bytesToPlay_ - bytesDone_);
    const std::size_t got = reader_.Read(h.data, wanted);
    if (got == 0) {
        // A file shorter than its header says: the end of what there is ends the playback.
        moreToPlay_ = 0;
        return 0;
    }
    h.bufferLength = static_cast<std::uint32_t>(got);
    bytesDone_ += h.bufferLength;
    h.prepared = true;
    if (waveOut_->Write(h) != 0) {
        StopPlay();
        return 1;
    }
    ++outstanding_;
    currentBuffer_ ^= 1;
    return 0;
}

void WaveEngine::StopPlay()
{
    if (!waveOut_)
        return;
    waveOut_->Reset();
    moreToPlay_ = 0;
    state_ = kIdle;
    for (auto& h : headers_)
        h.prepared = false;
    waveOut_.reset();
    session_ = 0;
    outstanding_ = 0;
    deviceOpen_ = false;
    reader_.Close();
}

int WaveEngine::PausePlay(bool pause)
{
    if (!waveOut_)
        return 1;
    return pause ? waveOut_->Pause() : waveOut_->Restart();
}

int WaveEngine::SeekPlay(std::uint32_t offset)
{
    if (state_ == kRecording)
        return 23;
    if (!deviceOpen_ || !waveOut_)
        return 21;
    if (playFile_.empty())
        return 22;
    const WaveLayout layout = reader_.Layout();
    const std::uint32_t dataEnd = layout.dataStart + layout.dataSize;
    if (offset >= dataEnd) {
        StopPlay();
        return 20;
    }
    const std::uint32_t from = std::max(offset, layout.dataStart);
    const std::uint32_t length = from < segmentEnd_ ? segmentEnd_ - from : 0;
    const platform::MessagePoster window = callbackWindow_;
    const std::string file = playFile_;
    StopPlay();
    // The stopped device's last messages are handled (and ignored) before the new one starts.
    platform::PumpMessages();
    return StartPlay(from, file, window, length);
}

void WaveEngine::HoldBusy(bool on)
{
    if (!deviceOpen_ && state_ != kRecording)
        state_ = on ? kPlaying : kIdle;
}

// ---- position ----

std::int64_t WaveEngine::GetPositionBytes() const
{
    if (state_ == kRecording)
        return static_cast<std::int64_t>(writer_.Offset());
    if (state_ == kPlaying && waveOut_) {
        const std::int64_t frames = waveOut_->FramesDone();
        if (frames < 0)
            return -1;
        const auto played = BytesForFrames(playFormat_, static_cast<std::uint64_t>(frames));
        return startOffset_
               + static_cast<std::int64_t>(std::min<std::uint64_t>(played, bytesDone_));
    }
    return 0;
}

std::string WaveEngine::PositionText(std::int64_t ms)
{
    if (ms < 0)
        return {};
    if (ms < 1001)
        return "0:00:00";
    const std::int64_t s = ms / 1000;
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", static_cast<int>(s / 3600),
                  static_cast<int>(s % 3600 / 60), static_cast<int>(s % 60));
    return text;
}

std::string WaveEngine::GetPositionText() const
{
    if (state_ == kPlaying && waveOut_) {
        const std::int64_t frames = waveOut_->FramesDone();
        return frames < 0 ? std::string()
                          : PositionText(frames * 1000
                                         / std::max<std::uint32_t>(playFormat_.samplesPerSec, 1));
    }
    if (state_ == kRecording && waveIn_) {
        const std::int64_t frames = waveIn_->FramesDone();
        return frames < 0 ? std::string()
                          : PositionText(frames * 1000
                                         / std::max<std::uint32_t>(recordFormat_.samplesPerSec, 1));
    }
    if (state_ == kRecording)
        return PositionText(
            static_cast<std::int64_t>(sessionBytes_ * 1000 / recordFormat_.avgBytesPerSec));
    return {};
}

// ---- the window's handling ----

WaveEngine::Event WaveEngine::OnDeviceMessage(unsigned msg, std::uintptr_t wParam,
                                              std::intptr_t lParam)
{
    if (msg != msg::kWimData && msg != msg::kWomDone && msg != msg::kWomClose)
        return Event::None;
    if (msg == msg::kWomClose)
        return Event::OutputClosed;
    // A late buffer of a device that has been closed meanwhile is not ours any more.
    if (session_ == 0 || wParam != session_)
        return Event::None;
    const auto* header = reinterpret_cast<const WaveHeader*>(lParam);
    if (header != &headers_[static_cast<std::size_t>(returning_)] || outstanding_ <= 0)
        return Event::None;
    --outstanding_;
    if (msg == msg::kWimData) {
        const bool written = WriteBuffer(header->bytesRecorded) == 0;
        returning_ ^= 1;
        if (!written && state_ == kRecording)
            StopInput();
        if (state_ == kRecording)
            AddBuffer();
        if (state_ == kRecording || outstanding_ > 0)
            return Event::Recorded;
        // Stopped: the buffers the reset returned have all been written.
        CloseInput();
        return Event::RecordingClosed;
    }
    returning_ ^= 1;
    if (moreToPlay_ != 0)
        FillAndWrite();
    if (moreToPlay_ == 0 && outstanding_ == 0) {
        StopPlay();
        return Event::PlaybackEnded;
    }
    return Event::Queued;
}

}  // namespace audio
