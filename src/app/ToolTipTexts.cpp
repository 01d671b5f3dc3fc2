#include "ToolTipTexts.h"

void ToolTipTexts::AddToolId(int controlId, int stringId)
{
    if (Tool* t = Find(controlId))
        *t = {controlId, stringId, {}};
    else
        tools_.push_back({controlId, stringId, {}});
}

void ToolTipTexts::AddToolText(int controlId, std::string_view english)
{
    if (Tool* t = Find(controlId))
        *t = {controlId, 0, std::string(english)};
    else
        tools_.push_back({controlId, 0, std::string(english)});
}

std::string ToolTipTexts::Text(int controlId) const
{
    const Tool* t = Find(controlId);
    if (!t)
        return {};
    return t->stringId != 0 ? language_->LoadString(t->stringId) : language_->Translate(t->english);
}

bool ToolTipTexts::HasTool(int controlId) const
{
    return Find(controlId) != nullptr;
}

bool ToolTipTexts::Enabled(const CIni& ini)
{
    return ini.GetInt(settings::setup::ToolTips) != 0;
}

ToolTipTexts::Tool* ToolTipTexts::Find(int controlId)
{
    for (Tool& t : tools_)
        if (t.controlId == controlId)
            return &t;
    return nullptr;
}

const ToolTipTexts::Tool* ToolTipTexts::Find(int controlId) const
{
    for (const Tool& t : tools_)
        if (t.controlId == controlId)
            return &t;
    return nullptr;
}
