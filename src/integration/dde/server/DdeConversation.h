// One conversation of a client with the server, alive while the server's list holds it.
#pragma once

#include "DdeRefCounted.h"
#include "DdeStringHandle.h"
#include "DdeTypes.h"

#include <string_view>

namespace dde {

class CDdeServiceHost;

class CDdeConversation : public CDdeRefCounted {
public:
    CDdeConversation(CDdeServiceHost& server, ConversationId id, std::string topic);
    // Ends the conversation at the transport (nothing when it has ended already).
    ~CDdeConversation() override;

    // Data a client sends on its own; this server takes none.
    virtual bool AdviseData(unsigned format, const std::string& topic, const std::string& item,
                            std::string_view data);

    ConversationId Id() const { return id_; }
    const std::string& Topic() const { return topic_.Text(); }

private:
    CDdeServiceHost& server_;
    ConversationId id_;
    CDdeStringHandle topic_;
};

}  // namespace dde
