// The system items every server answers: its topics, a topic's items and their formats. Each
// answer joins its names with one tab.
#pragma once

#include "DdeItemNode.h"

namespace dde {

class CDdeSysItem : public CDdeItemNode {
public:
    enum class Kind { TopicList, ItemList, FormatList };
    explicit CDdeSysItem(Kind kind) : kind_(kind) {}

    // "ItemList" lists the "System" topic's items for "SysItems", `through`'s for the others.
    bool Request(unsigned format, const CDdeTopicNode& through, std::string& out) override;
    const unsigned* GetFormatList() const override;

private:
    Kind kind_;
};

// "TEXT" for 1 up to "WAVE" for 12; other formats have no registered names here, so "".
std::string FormatName(unsigned format);

}  // namespace dde
