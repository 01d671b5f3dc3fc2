#include "MyServer.h"

#include "AsciiCase.h"
#include "DdeWindow.h"
#include "Numbers.h"

#include <algorithm>

namespace dde {

CMyServer::CMyServer(IDdeTransport& transport, IDdeWindow& window)
    : CDdeServiceHost(transport), window_(window), ddeServer_(window), ui_(window)
{
}

bool CMyServer::Start()
{
    if (!tried_) {
        tried_ = true;
        started_ = Create();
    }
    return started_;
}

bool CMyServer::OnCreate()
{
    CreateTopics();
    return true;
}

void CMyServer::CreateTopics()
{
    ddeServer_.SetName("DDEServer");
    AddTopic(ddeServer_);
    const struct {
        CMyStringItem& item;
        const char* name;
    } serverItems[] = {
        {mode_, "Mode"},           {ddeCommand_, "DDECommand"}, {radioModel_, "RadioModel"},
        {radioName_, "RadioName"}, {radioSplit_, "RadioSplit"}, {radioState_, "RadioState"},
        {radioVfo_, "RadioVFO"},   {radioMode_, "RadioMode"},   {rcvFreq_, "RcvFreq"},
        {xmitFreq_, "XmitFreq"}};
    for (const auto& i : serverItems) {
        i.item.SetName(i.name);
        ddeServer_.AddItem(i.item);
    }
    ui_.SetName("RAZ_AradezovoUI");
    AddTopic(ui_);
    const struct {
        CMyStringItem& item;
        const char* name;
    } uiItems[] = {{altFreqDisplay_, "AltFreqDisplay"},
                   {freqDisplay_, "FreqDisplay"},
                   {sMeterValue_, "SMeterValue"}};
    for (const auto& i : uiItems) {
        i.item.SetName(i.name);
        ui_.AddItem(i.item);
    }
    ddeCommand_.SetData("DDECommand");
    radioModel_.SetData("IC-706");
    radioName_.SetData("Icom");
    UpdateRadioState(window_.IsTransmitting());
}

bool CMyServer::MayPoke(const std::string&, const std::string&, bool isSelf)
{
    // Another program's text would pass for the radio's to every other client.
    return isSelf;
}

void CMyServer::Publish(CMyStringItem& item, std::string text)
{
    // The radio's replies repeat what is known several times a second; clients hear of changes.
    if (item.GetData() != text)
        item.SetData(std::move(text));
}

bool CMyServer::WithinLimits(double hz) const
{
    return hz >= static_cast<double>(window_.LowerLimit())
           && hz <= static_cast<double>(window_.UpperLimit());
}

void CMyServer::UpdateFrequency(double hz)
{
    if (!WithinLimits(hz))
        return;
    const std::string text = FrequencyText(hz);
    Publish(freqDisplay_, text);
    Publish(window_.IsTransmitting() ? xmitFreq_ : rcvFreq_, text);
}

void CMyServer::UpdateAltFrequency(double hz)
{
    if (WithinLimits(hz))
        Publish(altFreqDisplay_, FrequencyText(hz));
}

void CMyServer::UpdateMode(const std::string& modeText)
{
    Publish(mode_, ModeFamily(modeText));
    Publish(radioMode_, modeText);
}

void CMyServer::UpdateSMeter(const std::string& text)
{
    Publish(sMeterValue_, text);
}

void CMyServer::UpdateRadioState(bool transmitting)
{
    Publish(radioState_, transmitting ? "trasmit" : "receive");
}

void CMyServer::UpdateSplit(bool on)
{
    Publish(radioSplit_, on ? "1" : "0");
}

void CMyServer::UpdateVfo(bool vfoA)
{
    Publish(radioVfo_, vfoA ? "0" : "1");
}

std::string FrequencyText(double hz)
{
    std::string text = platform::FormatDouble(hz / 1000.0, 3);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

std::string ModeFamily(const std::string& modeText)
{
    using platform::AsciiIEquals;
    if (AsciiIEquals(modeText, "LSB") || AsciiIEquals(modeText, "USB"))
        return "SSB";
    if (AsciiIEquals(modeText, "CW") || AsciiIEquals(modeText, "CW-R"))
        return "CW";
    if (AsciiIEquals(modeText, "RTTY") || AsciiIEquals(modeText, "RTTY-R"))
        return "RTTY";
    if (AsciiIEquals(modeText, "FM") || AsciiIEquals(modeText, "WFM"))
        return "FM";
    return modeText;
}

}  // namespace dde
