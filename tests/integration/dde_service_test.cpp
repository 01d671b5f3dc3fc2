// The DDE server and the program's service over a recording transport: what other programs can
// ask, poke and advise on, what the window's updates publish, and what Execute commands run.
#include "DdeConversation.h"
#include "DdeTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace dde;
using dde_test::Service;

namespace {

struct TracedServer : CMyServer {
    using CMyServer::CMyServer;
    std::vector<std::string> trace;
    void Status(const std::string& text) override { trace.push_back(text); }
};

// What Service::Execute shows for a command that was not acknowledged.
#define kRefused "<not acknowledged>"

bool Traced(const std::vector<std::string>& trace, const std::string& text)
{
    return std::find(trace.begin(), trace.end(), text) != trace.end();
}

}  // namespace

TEST(DdeService, SystemItemsDescribeTopicsItemsAndFormatsInAnyCase)
{
    Service s;
    EXPECT_EQ(s.Request("System", "Topics"), "System\tDDEServer\tRAZ_AradezovoUI");
    EXPECT_EQ(s.Request("system", "SYSITEMS"), "TopicItemList\tFormats\tTopics\tSysItems");
    EXPECT_EQ(s.Request("DDEServer", "TopicItemList"),
              "TopicItemList\tFormats\tMode\tDDECommand\tRadioModel\tRadioName\tRadioSplit\t"
              "RadioState\tRadioVFO\tRadioMode\tRcvFreq\tXmitFreq");
    EXPECT_EQ(s.Request("raz_aradezovoui", "topicitemlist"),
              "TopicItemList\tFormats\tAltFreqDisplay\tFreqDisplay\tSMeterValue");
    EXPECT_EQ(s.Request("RAZ_AradezovoUI", "Formats"), "TEXT");
    EXPECT_EQ(s.Request("System", "Formats"), "TEXT");
    // Initial values; the state follows the transmitter at creation.
    EXPECT_EQ(s.Request("ddeserver", "ddecommand"), "DDECommand");
    EXPECT_EQ(s.Request("DDEServer", "RadioModel"), "IC-706");
    EXPECT_EQ(s.Request("DDEServer", "RadioName"), "Icom");
    EXPECT_EQ(s.Request("DDEServer", "RadioState"), "receive");
    EXPECT_EQ(s.Request("DDEServer", "RcvFreq"), "");
    EXPECT_EQ(s.Request("DDEServer", "nosuch"), "<failed>");
    EXPECT_EQ(s.Request("NoTopic", "Topics"), "<failed>");
}

TEST(DdeService, OnlyTextIsAnsweredPokedIntoTextItemsAndAdvisedOn)
{
    dde_test::FakeTransport transport;
    dde_test::FakeWindow window;
    window.transmitting = true;
    TracedServer server(transport, window);
    ASSERT_TRUE(server.Start());
    auto send = [&](unsigned type, const char* topic, const char* item, std::string data,
                    unsigned format, bool self = false) {
        DdeTransaction t;
        t.type = type;
        t.format = format;
        t.string1 = topic;
        t.string2 = item;
        t.data = std::move(data);
        t.isSelf = self;
        return server.Dispatch(t);
    };
    auto text = [&](const char* topic, const char* item) {
        return send(XTYP_REQUEST, topic, item, {}, CF_TEXT).data.value_or("<failed>");
    };
    EXPECT_EQ(text("DDEServer", "RadioState"), std::string("trasmit") + '\0');

    // Another format fails like a missing item, for text and system items alike.
    EXPECT_FALSE(send(XTYP_REQUEST, "DDEServer", "RadioModel", {}, 2).data);
    EXPECT_FALSE(send(XTYP_REQUEST, "System", "Topics", {}, 7).data);
    EXPECT_TRUE(Traced(server.trace, "Request DDEServer|RadioModel failed"));
    EXPECT_TRUE(Traced(server.trace, "Callback 20B0H"));

    // The items are the program's: another program's poke changes nothing and tells nobody.
    transport.advised.clear();
    EXPECT_EQ(send(XTYP_POKE, "RAZ_AradezovoUI", "FreqDisplay", "7000,000", CF_TEXT).value, 0u);
    EXPECT_EQ(send(XTYP_POKE, "ddeserver", "DDECommand", "x", CF_TEXT).value, 0u);
    EXPECT_TRUE(Traced(server.trace, "Poke RAZ_AradezovoUI|FreqDisplay failed"));
    EXPECT_EQ(text("DDEServer", "DDECommand"), std::string("DDECommand") + '\0');
    EXPECT_TRUE(transport.advised.empty());
    EXPECT_EQ(server.GetLastError(), DMLERR_NOTPROCESSED);
    EXPECT_EQ(server.GetLastError(), DMLERR_NO_ERROR);
    // Our own poke stores up to the first zero, never reads past the data's end, tells nobody.
    EXPECT_EQ(send(XTYP_POKE, "ddeserver", "mode", std::string("CW\0junk", 7), CF_TEXT, true).value,
              DDE_FACK);
    EXPECT_EQ(text("DDEServer", "Mode"), std::string("CW") + '\0');
    EXPECT_EQ(send(XTYP_POKE, "DDEServer", "Mode", std::string("RTTY", 3), CF_TEXT, true).value,
              DDE_FACK);
    EXPECT_EQ(text("DDEServer", "Mode"), std::string("RTT") + '\0');
    EXPECT_TRUE(transport.advised.empty());
    EXPECT_EQ(send(XTYP_POKE, "System", "Topics", "x", CF_TEXT, true).value, 0u);
    EXPECT_TRUE(Traced(server.trace, "Poke System|Topics failed"));

    // A refused connection says why, with the error a client would read.
    EXPECT_EQ(send(XTYP_CONNECT, "Elsewhere", "RA-Z Aradezovo", {}, 0).value, 0u);
    EXPECT_TRUE(Traced(server.trace, "Failed to connect to RA-Z Aradezovo|Elsewhere. Error 16394"));
    EXPECT_EQ(server.GetLastError(), DMLERR_NO_CONN_ESTABLISHED);
    EXPECT_EQ(send(XTYP_EXECUTE, "DDEServer", "", "nonsense", 0).value, 0u);
    EXPECT_TRUE(Traced(server.trace, "Exec failed"));
    EXPECT_EQ(server.GetLastError(), DMLERR_NOTPROCESSED);

    EXPECT_EQ(send(XTYP_ADVSTART, "RAZ_AradezovoUI", "freqdisplay", {}, CF_TEXT).value, 1u);
    EXPECT_EQ(send(XTYP_ADVSTART, "RAZ_AradezovoUI", "FreqDisplay", {}, 2).value, 0u);
    EXPECT_EQ(send(XTYP_ADVSTART, "RAZ_AradezovoUI", "Nothing", {}, CF_TEXT).value, 0u);
    EXPECT_TRUE(Traced(server.trace, "Can't advise on RAZ_AradezovoUI|FreqDisplay"));
}

TEST(DdeService, ConnectionsConversationsAndOneServerPerProcess)
{
    Service s;
    EXPECT_EQ(s.Send(XTYP_CONNECT, "ddeserver").value, 1u);
    EXPECT_EQ(s.Send(XTYP_CONNECT, "Elsewhere").value, 0u);

    DdeTransaction wild;
    wild.type = XTYP_WILDCONNECT;
    EXPECT_EQ(s.server.Dispatch(wild).pairs.size(), 3u);
    wild.string2 = "raz_aradezovoui";
    EXPECT_EQ(s.server.Dispatch(wild).pairs,
              (std::vector<NamePair>{{"RA-Z Aradezovo", "RAZ_AradezovoUI"}}));
    wild.string2 = "Elsewhere";
    EXPECT_TRUE(s.server.Dispatch(wild).pairs.empty());
    wild.string1 = "Another Service";
    wild.string2.reset();
    EXPECT_TRUE(s.server.Dispatch(wild).pairs.empty());

    s.nextConversation = 7;
    s.Send(XTYP_CONNECT_CONFIRM, "DDEServer");
    s.nextConversation = 8;
    s.Send(XTYP_CONNECT_CONFIRM, "System");
    s.nextConversation = 7;
    s.Send(XTYP_DISCONNECT, "DDEServer");
    ASSERT_EQ(s.server.Conversations().begin()[0]->Id(), 8u);
    s.server.Shutdown();
    EXPECT_TRUE(s.server.Conversations().Empty());
    EXPECT_EQ(s.transport.disconnected, (std::vector<ConversationId>{7, 8}));

    // A second server of the process is refused before it touches its transport.
    dde_test::FakeTransport other;
    dde_test::FakeWindow window;
    CMyServer second(other, window);
    EXPECT_FALSE(second.Start());
    EXPECT_EQ(other.openCalls, 0);
}

TEST(DdeService, UpdatesPublishWithinTheLimitsAndTellTheAdviseLoopsOfChanges)
{
    Service s;
    s.transport.advised.clear();
    // The radio's replies repeat what it reported: the loops hear of each change once.
    for (int i = 0; i < 3; ++i) {
        s.server.UpdateFrequency(14195000);
        s.server.UpdateSMeter("S 5");
        s.server.UpdateMode("USB");
        s.server.UpdateSplit(false);
    }
    s.server.UpdateSMeter("S 6");
    EXPECT_EQ(s.Request("RAZ_AradezovoUI", "FreqDisplay"), "14195,000");
    EXPECT_EQ(s.Request("DDEServer", "RcvFreq"), "14195,000");
    EXPECT_EQ(s.transport.advised,
              (std::vector<std::string>{"RAZ_AradezovoUI|FreqDisplay", "DDEServer|RcvFreq",
                                        "RAZ_AradezovoUI|SMeterValue", "DDEServer|Mode",
                                        "DDEServer|RadioMode", "DDEServer|RadioSplit",
                                        "RAZ_AradezovoUI|SMeterValue"}));
    s.window.transmitting = true;
    s.server.UpdateFrequency(7000500);
    EXPECT_EQ(s.Request("DDEServer", "XmitFreq"), "7000,500");
    EXPECT_EQ(s.Request("DDEServer", "RcvFreq"), "14195,000");
    // Both limits are inside; a hertz beyond either is not published.
    s.server.UpdateFrequency(30000);
    EXPECT_EQ(s.Request("RAZ_AradezovoUI", "FreqDisplay"), "30,000");
    s.server.UpdateFrequency(29999);
    s.server.UpdateAltFrequency(200000000);
    s.server.UpdateAltFrequency(0);
    EXPECT_EQ(s.Request("RAZ_AradezovoUI", "FreqDisplay"), "30,000");
    EXPECT_EQ(s.Request("RAZ_AradezovoUI", "AltFreqDisplay"), "");
    s.server.UpdateAltFrequency(199999999);
    EXPECT_EQ(s.Request("RAZ_AradezovoUI", "AltFreqDisplay"), "199999,999");

    for (auto [text, family] : {std::pair{"LSB", "SSB"},
                                {"usb", "SSB"},
                                {"CW-R", "CW"},
                                {"RTTY-R", "RTTY"},
                                {"WFM", "FM"},
                                {"AM", "AM"}}) {
        s.server.UpdateMode(text);
        EXPECT_EQ(s.Request("DDEServer", "Mode"), family) << text;
        EXPECT_EQ(s.Request("DDEServer", "RadioMode"), text);
    }
    s.server.UpdateVfo(true);
    EXPECT_EQ(s.Request("DDEServer", "RadioVFO"), "0");
    s.server.UpdateVfo(false);
    EXPECT_EQ(s.Request("DDEServer", "RadioVFO"), "1");
    s.server.UpdateSplit(true);
    EXPECT_EQ(s.Request("DDEServer", "RadioSplit"), "1");
    s.server.UpdateSMeter("S 9+20");
    EXPECT_EQ(s.Request("RAZ_AradezovoUI", "SMeterValue"), "S 9+20");
    s.server.UpdateRadioState(true);
    EXPECT_EQ(s.Request("DDEServer", "RadioState"), "trasmit");
}

TEST(DdeExecute, CommandsRunWhatTheirButtonsWouldAndOnlyWhatIsDoneIsAcknowledged)
{
    Service s;
    const struct {
        const char* command;
        bool splitOn;
        const char* calls;
    } cases[] = {
        {"000TRANSMIT", false, "ptt on"},
        {"000receive", false, "ptt off"},
        {"00transmit", false, kRefused},
        {"x000transmit", false, kRefused},
        {"000transmitx", false, kRefused},
        {"000SetVboEqual", false, "a=b"},
        {"000setsplitON", true, ""},
        {"000setsplitON", false, "split"},
        {"000setsplitoff", true, "split"},
        {"000setsplitoff", false, ""},
        {"000setsplit", false, kRefused},
        {"000setsplitmaybe", true, kRefused},
        {"000setvfoB", false, "vfo b"},
        {"000setvfo whatever a", false, "vfo a"},
        {"000setvfo", false, kRefused},
        {"000setvfoC", false, kRefused},
        {"000setfilternarrow", false, "narrow"},
        {"000abcdefghinarrow", false, "narrow"},
        {"000setfilterWide", false, "wide"},
        {"000setfilternormal", false, "wide"},
        {"000setfilter", false, kRefused},
        {"000setfilterpurple", false, kRefused},
        {"000", false, kRefused},
        {"", false, kRefused},
    };
    for (const auto& c : cases) {
        s.window.split = c.splitOn;
        EXPECT_EQ(s.Execute(c.command), c.calls) << c.command;
    }
    // The command ends at the data's size even without a zero.
    s.window.calls.clear();
    EXPECT_EQ(s.Send(XTYP_EXECUTE, "RAZ_AradezovoUI", {}, "000transmit").value, DDE_FACK);
    EXPECT_EQ(s.window.calls, std::vector<std::string>{"ptt on"});
    s.window.calls.clear();
    s.Send(XTYP_EXECUTE, "DDEServer", {}, std::string("000receive\0transmit", 19));
    EXPECT_EQ(s.window.calls, std::vector<std::string>{"ptt off"});
    // The system topic runs no commands.
    EXPECT_EQ(s.Send(XTYP_EXECUTE, "System", {}, "000transmit").value, 0u);
}

TEST(DdeExecute, FrequencyAndModeTagsTuneOnlyToWhatTheRadioCanTake)
{
    Service s;
    const struct {
        const char* command;
        int modes;
        const char* calls;
    } cases[] = {
        {"000xcvrfreqmode<xcvrfreq:9>14195,000<xcvrmode:3>USB", 7, "freq 14195000\nmode 1"},
        {"000XCVRFREQMODE<xcvrfreq:10>14.195,000<xcvrmode:2>cw", 7, "freq 14195000\nmode 3"},
        {"000xcvrfreqmode<xcvrfreq:9>14195,000", 7, "freq 14195000"},
        // A point as decimal point runs the digits together: 14195000 kHz is beyond the radio.
        {"000xcvrfreqmode<xcvrfreq:9>14195.000", 7, kRefused},
        {"000xcvrfreqmode<xcvrfreq:5>7.050<xcvrmode:3>LSB", 7, "freq 7050000\nmode 0"},
        {"000xcvrfreqmode<xcvrfreq:0>14195,000", 7, kRefused},
        {"000xcvrfreqmode<xcvrfreq:>14195,000", 7, kRefused},
        // Refused as a whole: neither half is carried out.
        {"000xcvrfreqmode<xcvrfreq:6>-14195<xcvrmode:3>USB", 7, kRefused},
        {"000xcvrfreqmode<xcvrfreq:3>abc<xcvrmode:3>USB", 7, kRefused},
        // The inclusive limits, in kHz.
        {"000xcvrfreqmode<xcvrfreq:2>30", 7, "freq 30000"},
        {"000xcvrfreqmode<xcvrfreq:10>199999,999", 7, "freq 199999999"},
        {"000xcvrfreqmode<xcvrfreq:10>200000,000", 7, kRefused},
        // Lengths up to the largest int neither overflow nor read past the text.
        {"000xcvrfreqmode<xcvrfreq:2147483647>14195,000<xcvrmode:3>USB", 7, "freq 14195000"},
        {"000xcvrfreqmode<xcvrfreq:99999999999>7000", 7, "freq 7000000"},
        {"000xcvrfreqmode<xcvrfreq:4>7000<xcvrmode:2147483647>USB", 7, kRefused},
        {"000xcvrfreqmode<xcvrfreq:4>7000<xcvrmode:4>USB", 7, kRefused},
        // A mode the radio's list lacks, or none it knows, refuses the frequency with it.
        {"000xcvrfreqmode<xcvrfreq:4>7000<xcvrmode:2>FM", 5, kRefused},
        {"000xcvrfreqmode<xcvrfreq:4>7000<xcvrmode:3>WFM", 5, kRefused},
        {"000xcvrfreqmode<xcvrfreq:4>7000<xcvrmode:3>WFM", 7, "freq 7000000\nmode 6"},
        {"000xcvrfreqmode<xcvrfreq:4>7000<xcvrmode:3>XYZ", 7, kRefused},
        {"000xcvrfreqmode", 7, kRefused},
        {"000transmit<", 7, kRefused},
        {"000xcvrfreqmode>:<", 7, kRefused},
    };
    for (const auto& c : cases) {
        s.window.modes = c.modes;
        EXPECT_EQ(s.Execute(c.command), c.calls) << c.command;
    }
    // While the radio cannot take a change, only keying is done.
    s.window.radioTakes = false;
    for (const char* command : {"000xcvrfreqmode<xcvrfreq:9>14195,000", "000setvfoB",
                                "000setsplitON", "000setfilternarrow", "000setvboequal"})
        EXPECT_EQ(s.Execute(command), kRefused) << command;
    EXPECT_EQ(s.Execute("000transmit"), "ptt on");
}
