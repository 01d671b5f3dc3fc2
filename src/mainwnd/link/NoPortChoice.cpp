#include "NoPortChoice.h"

#include <utility>

#include "Language.h"

namespace {
constexpr int kMsgNoPort = 103;
constexpr int kMsgOffLineWarning = 179;
}  // namespace

CNoPortChoice::CNoPortChoice(const CLanguage& language, MessageBoxSink ask)
    : language_(language), ask_(std::move(ask))
{
}

std::string CNoPortChoice::Text(int port) const
{
    return language_.FormatString1(kMsgNoPort, std::to_string(port));
}

int CNoPortChoice::OnButton(int id) const
{
    switch (id) {
    case kSetupButton: return 2;
    case kExitButton: return 1;
    case kOffLineButton: {
        if (!ask_)
            return kStayOpen;
        MessageBoxRequest request;
        request.text = language_.LoadString(kMsgOffLineWarning);
        request.style = mb::kYesNo | mb::kIconQuestion;
        return ask_(request) == mb::kIdYes ? 3 : kStayOpen;
    }
    default: return kStayOpen;
    }
}
