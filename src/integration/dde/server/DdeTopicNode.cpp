#include "DdeTopicNode.h"

#include "AsciiCase.h"
#include "DdeItemNode.h"
#include "DdeServiceHost.h"

namespace dde {

bool CDdeTopicNode::Request(unsigned format, const std::string& item, std::string& out)
{
    CDdeItemNode* node = FindItem(item);
    return node != nullptr && node->Request(format, *this, out);
}

bool CDdeTopicNode::Poke(unsigned format, const std::string& item, std::string_view data)
{
    CDdeItemNode* node = FindItem(item);
    return node != nullptr && node->Poke(format, data);
}

bool CDdeTopicNode::Exec(std::string_view)
{
    return false;
}

CDdeItemNode* CDdeTopicNode::FindItem(std::string_view name) const
{
    for (CDdeItemNode* item : items_)
        if (platform::AsciiIEquals(item->Name(), name))
            return item;
    return nullptr;
}

bool CDdeTopicNode::CanAdvise(unsigned format, const std::string& item) const
{
    const CDdeItemNode* node = FindItem(item);
    return node != nullptr && node->CanAdvise(format);
}

bool CDdeTopicNode::AddItem(CDdeItemNode& item)
{
    if (!items_.Contains(&item))
        items_.Append(&item);
    item.SetOwner(this);
    return true;
}

bool CDdeSystemTopic::Request(unsigned format, const std::string& item, std::string& out)
{
    if (CDdeServiceHost* server = Server())
        server->Report("System topic request: %s", item.c_str());
    return CDdeTopicNode::Request(format, item, out);
}

}  // namespace dde
