// A transport that records what the server asks of it, and a main window that records the
// operations Execute commands run, for the headless tests of the DDE service.
#pragma once

#include "DdeTypes.h"
#include "DdeWindow.h"
#include "MyServer.h"

#include <string>
#include <vector>

namespace dde_test {

struct FakeTransport : dde::IDdeTransport {
    bool opens = true;
    int openCalls = 0;
    std::vector<std::string> advised;  // "topic|item"
    std::vector<dde::ConversationId> disconnected;
    bool Open(dde::IDdeTransactionHandler&) override { return ++openCalls, opens; }
    bool RegisterService(const std::string&) override { return true; }
    void UnregisterService() override {}
    void Close() override {}
    void PostAdvise(const std::string& topic, const std::string& item) override
    {
        advised.push_back(topic + "|" + item);
    }
    void Disconnect(dde::ConversationId id) override { disconnected.push_back(id); }
};

struct FakeWindow : dde::IDdeWindow {
    bool transmitting = false;
    bool split = false;
    int modes = 7;
    bool radioTakes = true;
    std::vector<std::string> calls;
    bool IsTransmitting() const override { return transmitting; }
    bool IsSplitOn() const override { return split; }
    int64_t LowerLimit() const override { return 30000; }
    int64_t UpperLimit() const override { return 199999999; }
    int ModeCount() const override { return modes; }
    bool TakesRadioChanges() const override { return radioTakes; }
    void SetPtt(bool on) override { calls.push_back(on ? "ptt on" : "ptt off"); }
    void OnVfoEqual() override { calls.push_back("a=b"); }
    void OnSplit() override { calls.push_back("split"); }
    void SelectVfoA() override { calls.push_back("vfo a"); }
    void SelectVfoB() override { calls.push_back("vfo b"); }
    void SetFilter(bool narrow) override { calls.push_back(narrow ? "narrow" : "wide"); }
    bool SetFrequency(int64_t hz) override
    {
        calls.push_back("freq " + std::to_string(hz));
        return true;
    }
    bool SetModeIndex(int mode) override
    {
        calls.push_back("mode " + std::to_string(mode));
        return true;
    }
};

// A started server over the fakes, and transactions on it as a client would send them.
struct Service {
    FakeTransport transport;
    FakeWindow window;
    dde::CMyServer server{transport, window};
    dde::ConversationId nextConversation = 1;

    Service() { server.Start(); }

    dde::DdeResult Send(unsigned type, const std::string& topic, const std::string& item = {},
                        const std::string& data = {}, unsigned format = dde::CF_TEXT)
    {
        dde::DdeTransaction t;
        t.type = type;
        t.format = format;
        t.conversation = nextConversation;
        t.string1 = topic;
        t.string2 = item;
        t.data = data;
        return server.Dispatch(t);
    }
    // The text a request answers, or "<failed>".
    std::string Request(const std::string& topic, const std::string& item,
                        unsigned format = dde::CF_TEXT)
    {
        const dde::DdeResult r = Send(dde::XTYP_REQUEST, topic, item, {}, format);
        if (!r.data)
            return "<failed>";
        return r.data->substr(0, r.data->find('\0'));
    }
    // Runs a command and returns what the window was asked, one call per line.
    std::string Execute(const std::string& command)
    {
        window.calls.clear();
        const dde::DdeResult r =
            Send(dde::XTYP_EXECUTE, "DDEServer", {}, std::string(command) + '\0');
        std::string out = r.value == dde::DDE_FACK ? "" : "<not acknowledged>";
        for (const std::string& c : window.calls)
            out += (out.empty() ? "" : "\n") + c;
        return out;
    }
};

}  // namespace dde_test
