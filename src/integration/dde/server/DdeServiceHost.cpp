#include "DdeServiceHost.h"

#include "AsciiCase.h"
#include "DdeConversation.h"

#include <cstdio>

namespace dde {
namespace {

// The one server of this process.
CDdeServiceHost* g_server = nullptr;

std::string Text(const std::optional<std::string>& s)
{
    return s ? *s : std::string("<null>");
}

}  // namespace

CDdeServiceHost::CDdeServiceHost(IDdeTransport& transport) : transport_(transport) {}

CDdeServiceHost::~CDdeServiceHost()
{
    Shutdown();
    // A later server may take the place; nothing may point at a destroyed one.
    if (g_server == this)
        g_server = nullptr;
}

bool CDdeServiceHost::Create()
{
    if (g_server != nullptr)
        return false;
    g_server = this;
    if (!transport_.Open(*this)) {
        lastError_ = DMLERR_DLL_NOT_INITIALIZED;
        return false;
    }
    service_.SetText(kServiceName);
    systemTopic_.SetName("System");
    AddTopic(systemTopic_);
    topicsItem_.SetName("Topics");
    sysItemsItem_.SetName("SysItems");
    topicItemListItem_.SetName("TopicItemList");
    formatsItem_.SetName("Formats");
    systemTopic_.AddItem(topicsItem_);
    systemTopic_.AddItem(sysItemsItem_);
    systemTopic_.AddItem(topicItemListItem_);
    systemTopic_.AddItem(formatsItem_);
    if (!transport_.RegisterService(service_.Text())) {
        lastError_ = DMLERR_SYS_ERROR;
        transport_.Close();
        return false;
    }
    running_ = true;
    return OnCreate();
}

void CDdeServiceHost::Shutdown()
{
    if (!running_)
        return;
    while (!conversations_.Empty()) {
        CDdeConversation* c = *conversations_.begin();
        conversations_.Remove(c);
        c->Release();
    }
    transport_.UnregisterService();
    transport_.Close();
    running_ = false;
}

std::uintptr_t CDdeServiceHost::OnCustomTransaction(const DdeTransaction&)
{
    return 0;
}

unsigned CDdeServiceHost::GetLastError()
{
    const unsigned error = lastError_;
    lastError_ = DMLERR_NO_ERROR;
    return error;
}

bool CDdeServiceHost::MayPoke(const std::string&, const std::string&, bool)
{
    return true;
}

CDdeTopicNode* CDdeServiceHost::FindTopic(std::string_view name) const
{
    for (CDdeTopicNode* topic : topics_)
        if (platform::AsciiIEquals(topic->Name(), name))
            return topic;
    return nullptr;
}

CDdeConversation* CDdeServiceHost::FindConversation(ConversationId id) const
{
    for (CDdeConversation* c : conversations_)
        if (c->Id() == id)
            return c;
    return nullptr;
}

bool CDdeServiceHost::Request(unsigned format, const std::string& topic, const std::string& item,
                              std::string& out)
{
    CDdeTopicNode* node = FindTopic(topic);
    return node != nullptr && node->Request(format, item, out);
}

bool CDdeServiceHost::Poke(unsigned format, const std::string& topic, const std::string& item,
                           std::string_view data)
{
    CDdeTopicNode* node = FindTopic(topic);
    return node != nullptr && node->Poke(format, item, data);
}

bool CDdeServiceHost::AdviseData(unsigned format, ConversationId conversation,
                                 const std::string& topic, const std::string& item,
                                 std::string_view data)
{
    CDdeConversation* c = FindConversation(conversation);
    return c != nullptr && c->AdviseData(format, topic, item, data);
}

bool CDdeServiceHost::Exec(const std::string& topic, std::string_view data)
{
    CDdeTopicNode* node = FindTopic(topic);
    return node != nullptr && node->Exec(data);
}

void CDdeServiceHost::Status(const std::string&) {}

void CDdeServiceHost::Report(const char* format, ...)
{
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    Status(text);
}

bool CDdeServiceHost::AddTopic(CDdeTopicNode& topic)
{
    if (topics_.Contains(&topic))
        return true;
    topics_.Append(&topic);
    topic.SetServer(this);
    topic.AddItem(topicItemListItem_);
    topic.AddItem(formatsItem_);
    return true;
}

bool CDdeServiceHost::CanAdvise(unsigned format, const std::string& topic, const std::string& item)
{
    const CDdeTopicNode* node = FindTopic(topic);
    return node != nullptr && node->CanAdvise(format, item);
}

void CDdeServiceHost::PostAdvise(const std::string& topic, const std::string& item)
{
    if (running_)
        transport_.PostAdvise(topic, item);
}

DdeResult CDdeServiceHost::WildConnect(const DdeTransaction& t)
{
    DdeResult r;
    if (t.string1 && !platform::AsciiIEquals(*t.string1, service_.Text()))
        return r;
    if (t.string2) {
        Report("Wild connect to %s", t.string2->c_str());
        if (const CDdeTopicNode* topic = FindTopic(*t.string2)) {
            r.pairs.emplace_back(service_.Text(), topic->Name());
        } else {
            Report("Wild connect to %s refused", t.string2->c_str());
            return r;
        }
    } else {
        for (const CDdeTopicNode* topic : topics_)
            r.pairs.emplace_back(service_.Text(), topic->Name());
    }
    r.value = r.pairs.empty() ? 0 : 1;
    return r;
}

DdeResult CDdeServiceHost::Failed(const DdeTransaction& t, unsigned error)
{
    lastError_ = error;
    DdeResult r;
    r.value = OnCustomTransaction(t);
    return r;
}

DdeResult CDdeServiceHost::Dispatch(const DdeTransaction& t)
{
    Report("Callback %4.4XH", t.type);
    const std::string topic = Text(t.string1);
    const std::string item = Text(t.string2);
    DdeResult r;
    switch (t.type) {
    case XTYP_CONNECT:
        if (!t.string1 || FindTopic(*t.string1) == nullptr) {
            DdeResult refused = Failed(t, DMLERR_NO_CONN_ESTABLISHED);
            Report("Failed to connect to %s|%s. Error %u", Text(t.string2).c_str(), topic.c_str(),
                   lastError_);
            return refused;
        }
        r.value = 1;
        return r;
    case XTYP_WILDCONNECT: return WildConnect(t);
    case XTYP_CONNECT_CONFIRM: {
        Report("Connect to %s", topic.c_str());
        auto* c = new CDdeConversation(*this, t.conversation, topic);
        c->AddRef();
        conversations_.Append(c);
        return r;
    }
    case XTYP_DISCONNECT:
        Report("Disconnect");
        if (CDdeConversation* c = FindConversation(t.conversation)) {
            conversations_.Remove(c);
            c->Release();
        }
        return r;
    case XTYP_REQUEST:
    case XTYP_ADVREQ: {
        Report("Request %s|%s", topic.c_str(), item.c_str());
        // Only a format the item has is answered, for system and text items alike.
        const CDdeTopicNode* node = t.string1 ? FindTopic(*t.string1) : nullptr;
        const CDdeItemNode* found = node && t.string2 ? node->FindItem(*t.string2) : nullptr;
        std::string out;
        if (found == nullptr || !found->IsSupportedFormat(t.format)
            || !Request(t.format, topic, item, out)) {
            Report("Request %s|%s failed", topic.c_str(), item.c_str());
            return Failed(t);
        }
        r.value = 1;
        r.data = std::move(out);
        return r;
    }
    case XTYP_POKE:
        if (!t.string1 || !t.string2 || !MayPoke(topic, item, t.isSelf)
            || !Poke(t.format, topic, item, t.data)) {
            Report("Poke %s|%s failed", topic.c_str(), item.c_str());
            return Failed(t);
        }
        r.value = DDE_FACK;
        if (!t.isSelf)
            PostAdvise(topic, item);
        return r;
    case XTYP_EXECUTE:
        Report("Exec");
        if (!t.string1 || !Exec(topic, t.data)) {
            Report("Exec failed");
            return Failed(t);
        }
        r.value = DDE_FACK;
        return r;
    case XTYP_ADVSTART:
        if (!t.string1 || !t.string2 || !CanAdvise(t.format, topic, item)) {
            Report("Can't advise on %s|%s", topic.c_str(), item.c_str());
            return Failed(t);
        }
        r.value = 1;
        return r;
    case XTYP_ADVDATA:
        if (!AdviseData(t.format, t.conversation, topic, item, t.data)) {
            Report("AdviseData %s|%s failed", topic.c_str(), item.c_str());
            return Failed(t);
        }
        r.value = DDE_FACK;
        return r;
    default: return Failed(t);
    }
}

}  // namespace dde
