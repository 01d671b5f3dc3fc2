#include "DdeSysItem.h"

#include "AsciiCase.h"
#include "DdeServiceHost.h"
#include "DdeTopicNode.h"
#include "DdeTypes.h"

#include <algorithm>
#include <vector>

namespace dde {
namespace {

std::string Joined(const std::vector<std::string>& names)
{
    std::string out;
    for (std::size_t i = 0; i < names.size(); ++i)
        out += (i == 0 ? "" : "\t") + names[i];
    return out;
}

std::vector<std::string> ItemNames(const CDdeTopicNode& topic)
{
    std::vector<std::string> names;
    for (const CDdeItemNode* item : topic.Items())
        names.push_back(item->Name());
    return names;
}

std::vector<std::string> FormatNames(const CDdeTopicNode& topic)
{
    std::vector<unsigned> formats;
    for (const CDdeItemNode* item : topic.Items())
        for (const unsigned* f = item->GetFormatList(); f != nullptr && *f != 0; ++f)
            if (std::find(formats.begin(), formats.end(), *f) == formats.end())
                formats.push_back(*f);
    std::vector<std::string> names;
    for (unsigned f : formats)
        names.push_back(FormatName(f));
    return names;
}

}  // namespace

bool CDdeSysItem::Request(unsigned, const CDdeTopicNode& through, std::string& out)
{
    const CDdeServiceHost* server = through.Server();
    if (server == nullptr)
        return false;
    std::vector<std::string> names;
    switch (kind_) {
    case Kind::TopicList:
        for (const CDdeTopicNode* topic : server->Topics())
            names.push_back(topic->Name());
        break;
    case Kind::ItemList:
        names =
            ItemNames(platform::AsciiIEquals(Name(), "SysItems") ? server->SystemTopic() : through);
        break;
    case Kind::FormatList: names = FormatNames(through); break;
    }
    out = Joined(names);
    out.push_back('\0');
    return true;
}

const unsigned* CDdeSysItem::GetFormatList() const
{
    static constexpr unsigned kFormats[] = {CF_TEXT, 0};
    return kFormats;
}

std::string FormatName(unsigned format)
{
    static constexpr const char* kNames[] = {"TEXT",    "BITMAP",  "METAFILEPICT", "SYLK",
                                             "DIF",     "TIFF",    "OEMTEXT",      "DIB",
                                             "PALETTE", "PENDATA", "RIFF",         "WAVE"};
    if (format >= 1 && format <= std::size(kNames))
        return kNames[format - 1];
    return {};
}

}  // namespace dde
