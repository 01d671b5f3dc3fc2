// The program's DDE server: "DDEServer" with ten items and "RAZ_AradezovoUI" with three, besides
// "System". The main window feeds it through the Update operations and receives Execute
// commands back through IDdeWindow. The items say what the program knows of the radio: only
// the program writes them (a client's poke is refused), and an advise loop hears of an item
// only when its text changes.
#pragma once

#include "DdeServiceHost.h"
#include "MyTopic.h"

#include <cstdint>
#include <string>

namespace dde {

class IDdeWindow;

class CMyServer : public CDdeServiceHost {
public:
    CMyServer(IDdeTransport& transport, IDdeWindow& window);

    // Creates the server once; later calls return what the first one achieved.
    bool Start();
    bool IsStarted() const { return started_; }

    void UpdateFrequency(double hz);
    void UpdateAltFrequency(double hz);
    void UpdateMode(const std::string& modeText);
    void UpdateSMeter(const std::string& text);
    void UpdateRadioState(bool transmitting);
    void UpdateSplit(bool on);
    void UpdateVfo(bool vfoA);

    CMyTopic& ServerTopic() { return ddeServer_; }
    CMyTopic& UiTopic() { return ui_; }

protected:
    bool OnCreate() override;
    bool MayPoke(const std::string& topic, const std::string& item, bool isSelf) override;

private:
    void CreateTopics();
    static void Publish(CMyStringItem& item, std::string text);
    bool WithinLimits(double hz) const;

    bool started_ = false;
    bool tried_ = false;
    IDdeWindow& window_;
    CMyTopic ddeServer_;
    CMyStringItem mode_, ddeCommand_, radioModel_, radioName_, radioSplit_, radioState_, radioVfo_,
        radioMode_, rcvFreq_, xmitFreq_;
    CMyTopic ui_;
    CMyStringItem altFreqDisplay_, freqDisplay_, sMeterValue_;
};

// "%0.3f" of the kHz with ',' for '.': 14195000 gives "14195,000".
std::string FrequencyText(double hz);
// "SSB" for LSB and USB, "CW", "RTTY" and "FM" for their pairs; any other text as it is.
std::string ModeFamily(const std::string& modeText);

}  // namespace dde
