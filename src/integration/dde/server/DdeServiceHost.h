// A DDE server: the service name, its topics with their items, the "System" topic with its four
// system items, and the conversations. Dispatch answers every transaction the transport brings;
// everything runs on the thread that serves the transport.
//
//   class CMyServer : public dde::CDdeServiceHost {
//       bool OnCreate() override { AddTopic(topic_); topic_.AddItem(item_); return true; }
//   };
//   CMyServer server(transport);
//   server.Create();            // false when another server of this process exists
//   item_.SetData("14074,000"); // advise loops on the item are told
#pragma once

#include "DdeNodeList.h"
#include "DdeStringHandle.h"
#include "DdeSysItem.h"
#include "DdeTopicNode.h"
#include "DdeTypes.h"

#include <cstdarg>
#include <string>
#include <string_view>

namespace dde {

class CDdeConversation;

class CDdeServiceHost : public IDdeTransactionHandler {
public:
    static constexpr const char* kServiceName = "RA-Z Aradezovo";

    explicit CDdeServiceHost(IDdeTransport& transport);
    ~CDdeServiceHost() override;
    CDdeServiceHost(const CDdeServiceHost&) = delete;
    CDdeServiceHost& operator=(const CDdeServiceHost&) = delete;

    // Opens the transport and registers the service; false when this process already has a
    // server (the transport is not touched then) or the transport fails.
    bool Create();
    // Ends every conversation and unregisters; only while running.
    void Shutdown();
    bool IsRunning() const { return running_; }

    virtual bool OnCreate() { return true; }
    // The error of the last transaction or set-up step that failed, then DMLERR_NO_ERROR until
    // the next failure.
    virtual unsigned GetLastError();
    // Every transaction not handled here, and every handled one that failed.
    virtual std::uintptr_t OnCustomTransaction(const DdeTransaction& transaction);
    virtual bool Request(unsigned format, const std::string& topic, const std::string& item,
                         std::string& out);
    virtual bool Poke(unsigned format, const std::string& topic, const std::string& item,
                      std::string_view data);
    // Whether a poke of this conversation may change the item; `isSelf`: it comes from this
    // server. Everyone may by default.
    virtual bool MayPoke(const std::string& topic, const std::string& item, bool isSelf);
    virtual bool AdviseData(unsigned format, ConversationId conversation, const std::string& topic,
                            const std::string& item, std::string_view data);
    virtual bool Exec(const std::string& topic, std::string_view data);
    // The trace of what the server does (the texts Report passes); nothing by default.
    virtual void Status(const std::string& text);
    // Appends the topic once, makes this server its owner and gives it "TopicItemList" and
    // "Formats" as its first items.
    virtual bool AddTopic(CDdeTopicNode& topic);
    virtual bool CanAdvise(unsigned format, const std::string& topic, const std::string& item);

    DdeResult Dispatch(const DdeTransaction& transaction) override;

    // Formats one of the library's fixed texts and passes it to Status.
    void Report(const char* format, ...) __attribute__((format(printf, 2, 3)));
    void PostAdvise(const std::string& topic, const std::string& item);

    CDdeTopicNode* FindTopic(std::string_view name) const;
    const CDdeTopicNodeList& Topics() const { return topics_; }
    const CDdeSystemTopic& SystemTopic() const { return systemTopic_; }
    const std::string& ServiceName() const { return service_.Text(); }
    const CDdeConversationList& Conversations() const { return conversations_; }
    IDdeTransport& Transport() { return transport_; }

private:
    CDdeConversation* FindConversation(ConversationId id) const;
    DdeResult WildConnect(const DdeTransaction& t);
    DdeResult Failed(const DdeTransaction& t, unsigned error = DMLERR_NOTPROCESSED);

    IDdeTransport& transport_;
    CDdeTopicNodeList topics_;
    CDdeStringHandle service_;
    CDdeConversationList conversations_;
    bool running_ = false;
    unsigned lastError_ = 0;
    CDdeSystemTopic systemTopic_;
    CDdeSysItem topicsItem_{CDdeSysItem::Kind::TopicList};
    CDdeSysItem sysItemsItem_{CDdeSysItem::Kind::ItemList};
    CDdeSysItem topicItemListItem_{CDdeSysItem::Kind::ItemList};
    CDdeSysItem formatsItem_{CDdeSysItem::Kind::FormatList};
};

}  // namespace dde
