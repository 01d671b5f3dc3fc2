// A topic: its name, its server and its items in the order added; and the "System" topic.
#pragma once

#include "DdeNodeList.h"

#include <string>
#include <string_view>

namespace dde {

class CDdeItemNode;
class CDdeServiceHost;

class CDdeTopicNode {
public:
    virtual ~CDdeTopicNode() = default;

    virtual bool Request(unsigned format, const std::string& item, std::string& out);
    virtual bool Poke(unsigned format, const std::string& item, std::string_view data);
    virtual bool Exec(std::string_view data);
    // The first item of that name in any letter case; null when none.
    virtual CDdeItemNode* FindItem(std::string_view name) const;
    virtual bool CanAdvise(unsigned format, const std::string& item) const;

    // Appends the item once and becomes its owner.
    bool AddItem(CDdeItemNode& item);
    const CDdeItemNodeList& Items() const { return items_; }

    void SetName(std::string name) { name_ = std::move(name); }
    const std::string& Name() const { return name_; }
    CDdeServiceHost* Server() const { return server_; }
    void SetServer(CDdeServiceHost* server) { server_ = server; }

private:
    std::string name_;
    CDdeServiceHost* server_ = nullptr;
    CDdeItemNodeList items_;
};

class CDdeSystemTopic : public CDdeTopicNode {
public:
    bool Request(unsigned format, const std::string& item, std::string& out) override;
};

}  // namespace dde
