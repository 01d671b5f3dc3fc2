// The library's lists: they point to their elements, in the order added, and never own them.
#pragma once

#include <algorithm>
#include <vector>

namespace dde {

template <class T>
class CDdeNodeList {
public:
    bool Contains(const T* node) const
    {
        return std::find(nodes_.begin(), nodes_.end(), node) != nodes_.end();
    }
    void Append(T* node) { nodes_.push_back(node); }
    void Remove(const T* node) { std::erase(nodes_, node); }
    bool Empty() const { return nodes_.empty(); }
    auto begin() const { return nodes_.begin(); }
    auto end() const { return nodes_.end(); }

private:
    std::vector<T*> nodes_;
};

class CDdeTopicNode;
class CDdeItemNode;
class CDdeConversation;
using CDdeTopicNodeList = CDdeNodeList<CDdeTopicNode>;
using CDdeItemNodeList = CDdeNodeList<CDdeItemNode>;
using CDdeConversationList = CDdeNodeList<CDdeConversation>;

}  // namespace dde
