#include "DdeConversation.h"

#include "DdeServiceHost.h"

namespace dde {

CDdeConversation::CDdeConversation(CDdeServiceHost& server, ConversationId id, std::string topic)
    : server_(server), id_(id), topic_(std::move(topic))
{
}

CDdeConversation::~CDdeConversation()
{
    server_.Transport().Disconnect(id_);
}

bool CDdeConversation::AdviseData(unsigned, const std::string&, const std::string&,
                                  std::string_view)
{
    return false;
}

}  // namespace dde
