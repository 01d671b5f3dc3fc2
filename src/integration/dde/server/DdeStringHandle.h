// A name the server publishes (service, topic or item). There are no handles to free here: it
// only holds the text.
#pragma once

#include <string>

namespace dde {

class CDdeStringHandle {
public:
    CDdeStringHandle() = default;
    explicit CDdeStringHandle(std::string text) : text_(std::move(text)) {}
    void SetText(std::string text) { text_ = std::move(text); }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
};

}  // namespace dde
