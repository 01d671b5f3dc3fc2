// Audio set-up for the radio link, used when the driver does not carry audio.
#pragma once

#include <string>

class ILinkAudio {
public:
    virtual ~ILinkAudio() = default;

    virtual bool RunAudioSettingsDialog() = 0;
    // 0 when the audio input works, else the audio error number.
    virtual int TestAudioInput() = 0;
    // What made the last test fail (the device or the cause), when it can be told.
    virtual std::string AudioInputProblem() { return {}; }
    virtual void ApplyRecordingFormat() = 0;
    virtual void PlaceRecorderBar(int front, int enabled) = 0;
};
