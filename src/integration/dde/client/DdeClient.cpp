#include "DdeClient.h"

#include "DdeTypes.h"
#include "LocalSocket.h"

#include <dirent.h>
#include <poll.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace dde {

using namespace platform::ipc;

namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left < 0 ? 0 : static_cast<int>(left);
}

}  // namespace

std::vector<std::string> ListDdeSockets(const std::string& folder)
{
    std::vector<std::string> out;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(dir))
            if (IsDdeSocketName(e->d_name))
                out.push_back(folder + "/" + e->d_name);
        ::closedir(dir);
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::optional<std::vector<NamePair>> CDdeClient::Pairs(const std::string& socketPath,
                                                       const std::string& service, int timeoutMs)
{
    CDdeClient c;
    c.fd_ = ConnectTo(socketPath, timeoutMs);
    if (!c.fd_.Valid())
        return std::nullopt;
    DdeMessage m;
    m.type = DdeMessageType::WildConnect;
    m.name1 = service;
    const auto answer = c.Exchange(m, DdeMessageType::Pairs, timeoutMs);
    if (!answer)
        return std::nullopt;
    return DecodePairs(answer->data);
}

CDdeClient::Connected CDdeClient::Connect(const std::string& socketPath, const std::string& service,
                                          const std::string& topic, int timeoutMs)
{
    fd_ = ConnectTo(socketPath, timeoutMs);
    reader_.Reset();
    if (!fd_.Valid())
        return Connected::NoServer;
    DdeMessage m;
    m.type = DdeMessageType::Connect;
    m.name1 = service;
    m.name2 = topic;
    const auto answer = Exchange(m, DdeMessageType::Result, timeoutMs);
    if (!answer)
        return Connected::NoServer;
    if (answer->flag == 0) {
        fd_.Reset();
        return answer->value == kOtherService ? Connected::NoServer : Connected::Refused;
    }
    return Connected::Yes;
}

std::optional<std::string> CDdeClient::Request(const std::string& item, bool asAdvise,
                                               int timeoutMs)
{
    DdeMessage m;
    m.type = DdeMessageType::Request;
    m.name1 = item;
    m.format = CF_TEXT;
    m.flag = asAdvise ? 1 : 0;
    const auto answer = Exchange(m, DdeMessageType::Data, timeoutMs);
    if (!answer || answer->flag == 0)
        return std::nullopt;
    return answer->data;
}

bool CDdeClient::Poke(const std::string& item, const std::string& text, int timeoutMs)
{
    DdeMessage m;
    m.type = DdeMessageType::Poke;
    m.name1 = item;
    m.format = CF_TEXT;
    m.data = text + '\0';
    const auto answer = Exchange(m, DdeMessageType::Result, timeoutMs);
    return answer && answer->flag != 0;
}

bool CDdeClient::Execute(const std::string& command, int timeoutMs)
{
    DdeMessage m;
    m.type = DdeMessageType::Execute;
    m.data = command + '\0';
    const auto answer = Exchange(m, DdeMessageType::Result, timeoutMs);
    return answer && answer->flag != 0;
}

bool CDdeClient::AdviseStart(const std::string& item, bool hot, int timeoutMs)
{
    DdeMessage m;
    m.type = DdeMessageType::AdviseStart;
    m.name1 = item;
    m.format = CF_TEXT;
    m.flag = hot ? 1 : 0;
    const auto answer = Exchange(m, DdeMessageType::Result, timeoutMs);
    return answer && answer->flag != 0;
}

std::optional<DdeMessage> CDdeClient::NextAdvise(int timeoutMs, bool& ended)
{
    ended = false;
    if (!advises_.empty()) {
        DdeMessage m = advises_.front();
        advises_.erase(advises_.begin());
        return m;
    }
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!ended) {
        auto m = ReadOne(MsLeft(deadline), ended);
        if (!m)
            return std::nullopt;
        if (m->type == DdeMessageType::Advise)
            return m;
        if (m->type == DdeMessageType::Disconnect)
            ended = true;
    }
    return std::nullopt;
}

void CDdeClient::Disconnect()
{
    if (!fd_.Valid())
        return;
    DdeMessage m;
    m.type = DdeMessageType::Disconnect;
    std::string out;
    AppendDdeMessage(out, m);
    SendSome(fd_.Get(), out.data(), out.size());
    fd_.Reset();
}

std::optional<DdeMessage> CDdeClient::Exchange(DdeMessage m, DdeMessageType answer, int timeoutMs)
{
    if (!fd_.Valid())
        return std::nullopt;
    m.id = nextId_++;
    std::string out;
    if (!AppendDdeMessage(out, m))
        return std::nullopt;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::size_t sent = 0;
    while (sent < out.size()) {
        const long n = SendSome(fd_.Get(), out.data() + sent, out.size() - sent);
        if (n < 0 || (n == 0 && WaitReady(fd_.Get(), POLLOUT, MsLeft(deadline)) == 0)) {
            fd_.Reset();
            return std::nullopt;
        }
        sent += static_cast<std::size_t>(n);
    }
    bool ended = false;
    while (!ended) {
        auto r = ReadOne(MsLeft(deadline), ended);
        if (!r)
            break;
        if (r->type == DdeMessageType::Advise)
            advises_.push_back(*r);
        else if (r->type == DdeMessageType::Disconnect)
            ended = true;
        else if (r->type == answer && r->id == m.id)
            return r;
    }
    return std::nullopt;
}

std::optional<DdeMessage> CDdeClient::ReadOne(int timeoutMs, bool& ended)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        Frame frame;
        const auto r = reader_.Next(frame);
        if (r == FrameReader::Result::Frame) {
            auto m = DecodeDdeMessage(frame);
            if (!m)
                ended = true;
            return m;
        }
        if (r == FrameReader::Result::Malformed || !fd_.Valid()) {
            ended = true;
            return std::nullopt;
        }
        char buf[8192];
        const long n = ReceiveSome(fd_.Get(), buf, sizeof buf);
        if (n > 0) {
            reader_.Feed(buf, static_cast<std::size_t>(n));
            continue;
        }
        if (n == 0 || errno != EAGAIN) {
            fd_.Reset();
            ended = true;
            return std::nullopt;
        }
        const int left = MsLeft(deadline);
        if (left == 0 || WaitReady(fd_.Get(), POLLIN, left) == 0)
            return std::nullopt;
    }
}

}  // namespace dde
