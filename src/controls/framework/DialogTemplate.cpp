#include "DialogTemplate.h"

#include <map>

namespace {

std::map<unsigned, DialogTemplate>& Templates()
{
    static std::map<unsigned, DialogTemplate> templates;
    return templates;
}

TemplateItem Box(TemplateItem::Kind kind, std::vector<TemplateItem> children)
{
    TemplateItem item;
    item.kind = kind;
    item.children = std::move(children);
    return item;
}

}  // namespace

namespace tpl {

TemplateItem Control(int id, std::string className, std::string caption, unsigned style,
                     int minWidthChars)
{
    TemplateItem item;
    item.kind = TemplateItem::Kind::Control;
    item.control = {id, std::move(className), std::move(caption), style, minWidthChars};
    return item;
}

TemplateItem Row(std::vector<TemplateItem> children)
{
    return Box(TemplateItem::Kind::Row, std::move(children));
}

TemplateItem Column(std::vector<TemplateItem> children)
{
    return Box(TemplateItem::Kind::Column, std::move(children));
}

TemplateItem Grid(int columns, std::vector<TemplateItem> children)
{
    TemplateItem item = Box(TemplateItem::Kind::Grid, std::move(children));
    item.columns = columns < 1 ? 1 : columns;
    return item;
}

TemplateItem Group(std::string caption, std::vector<TemplateItem> children, int groupId)
{
    TemplateItem item = Box(TemplateItem::Kind::Group, std::move(children));
    item.caption = std::move(caption);
    item.groupId = groupId;
    return item;
}

TemplateItem Stretch(int factor)
{
    TemplateItem item;
    item.kind = TemplateItem::Kind::Stretch;
    item.stretch = factor;
    return item;
}

TemplateItem Spacing(int chars)
{
    TemplateItem item;
    item.kind = TemplateItem::Kind::Spacing;
    item.size = chars;
    return item;
}

TemplateItem Stretched(TemplateItem item, int factor)
{
    item.stretch = factor;
    return item;
}

TemplateItem Spanned(TemplateItem item, int columns)
{
    item.span = columns < 1 ? 1 : columns;
    return item;
}

}  // namespace tpl

void RegisterDialogTemplate(DialogTemplate t)
{
    unsigned id = t.id;
    Templates()[id] = std::move(t);
}

const DialogTemplate* FindDialogTemplate(unsigned id)
{
    auto it = Templates().find(id);
    return it == Templates().end() ? nullptr : &it->second;
}
