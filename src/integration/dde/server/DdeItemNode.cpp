#include "DdeItemNode.h"

#include "DdeServiceHost.h"
#include "DdeTopicNode.h"
#include "DdeTypes.h"

namespace dde {

bool CDdeItemNode::Request(unsigned, const CDdeTopicNode&, std::string&)
{
    return false;
}

bool CDdeItemNode::Poke(unsigned, std::string_view)
{
    return false;
}

bool CDdeItemNode::IsSupportedFormat(unsigned format) const
{
    const unsigned* list = GetFormatList();
    for (; list != nullptr && *list != 0; ++list)
        if (*list == format)
            return true;
    return false;
}

bool CDdeTextItem::Request(unsigned, const CDdeTopicNode&, std::string& out)
{
    out = text_;
    out.push_back('\0');
    return true;
}

bool CDdeTextItem::Poke(unsigned, std::string_view data)
{
    text_ = std::string(UpToZero(data));
    OnPoke();
    return true;
}

const unsigned* CDdeTextItem::GetFormatList() const
{
    static constexpr unsigned kFormats[] = {CF_TEXT, 0};
    return kFormats;
}

void CDdeTextItem::SetData(std::string text)
{
    text_ = std::move(text);
    if (CDdeTopicNode* topic = Owner())
        if (CDdeServiceHost* server = topic->Server())
            server->PostAdvise(topic->Name(), Name());
}

std::string_view UpToZero(std::string_view data)
{
    const std::size_t zero = data.find('\0');
    return zero == std::string_view::npos ? data : data.substr(0, zero);
}

}  // namespace dde
