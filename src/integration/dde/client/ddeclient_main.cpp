// ddeclient: the command line's DDE peer of the running program.
//
//   ddeclient [--service NAME] services | topics | request TOPIC ITEM | poke TOPIC ITEM TEXT |
//             execute TOPIC TEXT | advise [--warm] [--count N] TOPIC ITEM
//
// Exit status: 0 done, 1 refused (no such topic or item, not acknowledged), 2 no service runs,
// 64 a wrong command line (a name or text too long to send among them).
#include "DdeClient.h"
#include "DdeServiceHost.h"
#include "DdeItemNode.h"
#include "Numbers.h"
#include "RuntimeFolder.h"

#include <csignal>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kTimeoutMs = 10000;
constexpr int kOk = 0, kRefused = 1, kNoService = 2, kUsage = 64;
// What one message carries beside an item name and the fields.
constexpr std::size_t kMaxText = platform::ipc::kMaxFrameBody - dde::kMaxName - 64;

int Usage()
{
    std::fprintf(stderr,
                 "usage: ddeclient [--service NAME] services | topics | request TOPIC ITEM |\n"
                 "       poke TOPIC ITEM TEXT | execute TOPIC TEXT |\n"
                 "       advise [--warm] [--count N] TOPIC ITEM\n");
    return kUsage;
}

void PrintLine(const std::string& data)
{
    const std::string_view text = dde::UpToZero(data);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::vector<std::string> Sockets()
{
    const platform::ipc::FolderResult folder = platform::ipc::RuntimeFolder();
    return folder ? dde::ListDdeSockets(folder.path) : std::vector<std::string>{};
}

// A name no server could be asked about: said as what it is.
bool NameFits(const char* what, const std::string& name)
{
    if (name.size() <= dde::kMaxName)
        return true;
    std::fprintf(stderr, "ddeclient: the %s name is %zu bytes long; a DDE name has at most %zu\n",
                 what, name.size(), dde::kMaxName);
    return false;
}

// "services" with an empty name, "topics" with the service's.
int ListPairs(const std::string& service, bool topics)
{
    std::set<std::string> told;
    for (const std::string& socket : Sockets()) {
        const auto pairs = dde::CDdeClient::Pairs(socket, service, kTimeoutMs);
        if (!pairs)
            continue;
        for (const auto& [name, topic] : *pairs)
            if (told.insert(topics ? topic : name).second)
                PrintLine(topics ? topic : name);
    }
    if (!told.empty())
        return kOk;
    if (topics)
        std::fprintf(stderr, "ddeclient: no service %s runs\n", service.c_str());
    else
        std::fprintf(stderr, "ddeclient: no DDE service runs\n");
    return kNoService;
}

// A conversation with the first server that has the topic.
int Open(dde::CDdeClient& client, const std::string& service, const std::string& topic)
{
    int status = kNoService;
    for (const std::string& socket : Sockets()) {
        switch (client.Connect(socket, service, topic, kTimeoutMs)) {
        case dde::CDdeClient::Connected::Yes: return kOk;
        case dde::CDdeClient::Connected::Refused: status = kRefused; break;
        case dde::CDdeClient::Connected::NoServer: break;
        }
    }
    if (status == kRefused)
        std::fprintf(stderr, "ddeclient: no topic %s\n", topic.c_str());
    else
        std::fprintf(stderr, "ddeclient: no service %s runs\n", service.c_str());
    return status;
}

int Advise(dde::CDdeClient& client, const std::string& item, bool warm, long count)
{
    if (!client.AdviseStart(item, !warm, kTimeoutMs)) {
        std::fprintf(stderr, "ddeclient: no advise on %s\n", item.c_str());
        return kRefused;
    }
    for (long seen = 0; count <= 0 || seen < count;) {
        bool ended = false;
        const auto advise = client.NextAdvise(kTimeoutMs, ended);
        if (ended)
            return kOk;  // the server ended the conversation
        if (!advise)
            continue;
        if (!warm) {
            PrintLine(advise->data);
        } else if (const auto data = client.Request(item, true, kTimeoutMs)) {
            PrintLine(*data);
        } else {
            return kRefused;
        }
        ++seen;
    }
    client.Disconnect();
    return kOk;
}

}  // namespace

int main(int argc, char** argv)
{
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string service = dde::CDdeServiceHost::kServiceName;
    if (args.size() >= 2 && args[0] == "--service") {
        service = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty())
        return Usage();
    if (!NameFits("service", service))
        return kUsage;
    const std::string command = args[0];
    args.erase(args.begin());
    if (command == "services" && args.empty())
        return ListPairs("", false);
    if (command == "topics" && args.empty())
        return ListPairs(service, true);

    bool warm = false;
    long count = 0;
    if (command == "advise") {
        while (!args.empty() && (args[0] == "--warm" || args[0] == "--count")) {
            if (args[0] == "--warm") {
                warm = true;
                args.erase(args.begin());
                continue;
            }
            if (args.size() < 2 || (count = platform::ParseIntPrefix(args[1])) < 1)
                return Usage();
            args.erase(args.begin(), args.begin() + 2);
        }
    }
    const std::size_t wanted = command == "request" || command == "advise" ? 2
                               : command == "poke"                         ? 3
                               : command == "execute"                      ? 2
                                                                           : 0;
    if (wanted == 0 || args.size() != wanted)
        return Usage();
    if (!NameFits("topic", args[0]) || (command != "execute" && !NameFits("item", args[1])))
        return kUsage;
    const std::string& text = args.back();
    if ((command == "poke" || command == "execute") && text.size() > kMaxText) {
        std::fprintf(stderr,
                     "ddeclient: the text is %zu bytes long; at most %zu go in one message\n",
                     text.size(), kMaxText);
        return kUsage;
    }

    dde::CDdeClient client;
    if (const int status = Open(client, service, args[0]); status != kOk)
        return status;
    int status = kOk;
    if (command == "request") {
        if (const auto data = client.Request(args[1], false, kTimeoutMs))
            PrintLine(*data);
        else
            status = kRefused;
    } else if (command == "poke") {
        status = client.Poke(args[1], args[2], kTimeoutMs) ? kOk : kRefused;
    } else if (command == "execute") {
        status = client.Execute(args[1], kTimeoutMs) ? kOk : kRefused;
    } else {
        return Advise(client, args[1], warm, count);
    }
    client.Disconnect();
    if (status == kRefused)
        std::fprintf(stderr, "ddeclient: %s refused\n", command.c_str());
    return status;
}
