// The text side of CToolTipLoc: which control shows which tool tip, in the user's language, and
// whether tool tips are shown at all (Setup/"ToolTips"). The widgets layer owns the tip window.
#pragma once

#include "Ini.h"
#include "Language.h"

#include <string>
#include <string_view>
#include <vector>

class ToolTipTexts {
public:
    explicit ToolTipTexts(const CLanguage& language) : language_(&language) {}

    // A tool whose text is a string id (AddToolId) or an English literal (AddToolText). Adding a
    // control again replaces its text.
    void AddToolId(int controlId, int stringId);
    void AddToolText(int controlId, std::string_view english);

    // The translated text for a control; empty when it has no tool (or its id has no string).
    std::string Text(int controlId) const;
    bool HasTool(int controlId) const;
    std::size_t Count() const { return tools_.size(); }

    // Setup/"ToolTips": tips are shown unless it is 0.
    static bool Enabled(const CIni& ini);

private:
    struct Tool {
        int controlId;
        int stringId;  // 0 when `english` is used
        std::string english;
    };
    Tool* Find(int controlId);
    const Tool* Find(int controlId) const;

    const CLanguage* language_;
    std::vector<Tool> tools_;
};
