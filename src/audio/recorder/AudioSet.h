// CAudioSet (dialog 251): audio support on or off, the input and output devices by name, the
// recording format, the folder and file of recordings, and whether the recorder bar stays in
// front. It works on an engine of its own; the settings are written only on OK.
#pragma once

#include "MyFontDialog.h"
#include "WaveEngine.h"

class CIni;
class Profile;

class CAudioSet : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 251;
    enum Control : int {
        kEnable = 1195,
        kInput = 1288,
        kOutput = 1289,
        kFormat = 1113,
        kFolder = 1194,
        kBrowse = 1184,
        kFile = 1104,
        kFront = 1187,
    };

    CAudioSet(CIni& ini, Profile& registry, audio::WaveSystem& devices);
    ~CAudioSet() override;

    bool FromRecorder = false;
    bool DriverAudio = false;

    audio::WaveEngine& Engine() { return engine_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override;

private:
    void EnableControls();
    void EnableAudio();
    void ShowFormat();
    void ChooseFormat();
    void Browse();
    void FillDevices(int id, const std::vector<std::string>& names, const std::string& stored);
    void Error(const std::string& text);

    CIni& ini_;
    Profile& registry_;
    audio::WaveSystem& devices_;
    audio::WaveEngine engine_;
    bool enabled_ = true;
};
