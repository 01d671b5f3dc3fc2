// Items of a topic: the base node, and the text item that answers requests with its text.
#pragma once

#include <string>
#include <string_view>

namespace dde {

class CDdeTopicNode;

class CDdeItemNode {
public:
    virtual ~CDdeItemNode() = default;

    // `through` is the topic the item was asked through (the system items answer for it).
    virtual bool Request(unsigned format, const CDdeTopicNode& through, std::string& out);
    virtual bool Poke(unsigned format, std::string_view data);
    virtual bool IsSupportedFormat(unsigned format) const;
    // Zero-terminated; null for none.
    virtual const unsigned* GetFormatList() const { return nullptr; }
    virtual bool CanAdvise(unsigned format) const { return IsSupportedFormat(format); }

    void SetName(std::string name) { name_ = std::move(name); }
    const std::string& Name() const { return name_; }
    CDdeTopicNode* Owner() const { return owner_; }
    void SetOwner(CDdeTopicNode* topic) { owner_ = topic; }

private:
    std::string name_;
    CDdeTopicNode* owner_ = nullptr;
};

class CDdeTextItem : public CDdeItemNode {
public:
    // The text with its terminating zero, whatever format was asked (the dispatcher checks it).
    bool Request(unsigned format, const CDdeTopicNode& through, std::string& out) override;
    // Stores the data up to its first zero byte, never past its end.
    bool Poke(unsigned format, std::string_view data) override;
    const unsigned* GetFormatList() const override;

    virtual void OnPoke() {}
    // Stores the text and tells the advise loops, even when it did not change.
    virtual void SetData(std::string text);
    virtual const std::string& GetData() const { return text_; }

private:
    std::string text_;
};

// The text of `data` up to its first zero byte, or all of it when it has none.
std::string_view UpToZero(std::string_view data);

}  // namespace dde
