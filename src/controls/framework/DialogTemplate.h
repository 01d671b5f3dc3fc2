// Dialog templates: each dialog's caption and controls, declared once by resource id.
//
// A template is a tree of Qt layouts (rows, columns, grids, group boxes) whose leaves are
// controls with an id, a class name and a caption. There are no pixel positions, so a dialog
// re-flows when its font is substituted. Templates are registered by the module that owns the
// dialog, usually from a static DialogTemplateRegistration in the dialog's .cpp file.
//
//   using namespace tpl;
//   RegisterDialogTemplate({101, "Corvane - Select Language",
//       Column({Control(ctl::kIdStatic, "STATIC", "Select language"),
//               Control(1000, "COMBOBOX", "", kSorted),
//               Row({Stretch(), Control(1001, "BUTTON", "Ok"), Control(1002, "BUTTON",
//               "Abort")})})});
#pragma once

#include <string>
#include <vector>

// Style bits of a control; each class uses those that make sense for it.
namespace tpl {
inline constexpr unsigned kDisabled = 1u << 0;
inline constexpr unsigned kHidden = 1u << 1;
inline constexpr unsigned kSorted = 1u << 2;        // COMBOBOX, LISTBOX
inline constexpr unsigned kEditable = 1u << 3;      // COMBOBOX with an edit field
inline constexpr unsigned kReadOnly = 1u << 4;      // EDIT
inline constexpr unsigned kMultiLine = 1u << 5;     // EDIT
inline constexpr unsigned kPassword = 1u << 6;      // EDIT
inline constexpr unsigned kNumber = 1u << 7;        // EDIT: digits only
inline constexpr unsigned kCenter = 1u << 8;        // STATIC
inline constexpr unsigned kRight = 1u << 9;         // STATIC
inline constexpr unsigned kGroupStart = 1u << 10;   // RADIOBUTTON: starts a new group
inline constexpr unsigned kNoTranslate = 1u << 11;  // caption is data, not an English text
}  // namespace tpl

struct ControlSpec {
    int id = -1;            // ctl::kIdStatic for controls nobody refers to
    std::string className;  // "STATIC", "BUTTON", ... or a registered custom class
    std::string caption;    // English text
    unsigned style = 0;     // tpl::k... bits
    int minWidthChars = 0;  // minimum width in average character widths (0 = natural)
};

struct TemplateItem {
    enum class Kind { Control, Row, Column, Grid, Group, Stretch, Spacing };
    Kind kind = Kind::Stretch;
    ControlSpec control;                 // Kind::Control
    std::string caption;                 // Kind::Group: the group box title (English)
    int groupId = -1;                    // Kind::Group: id of the group box, -1 = none
    std::vector<TemplateItem> children;  // Row, Column, Grid, Group (laid out as a column)
    int columns = 1;                     // Kind::Grid: children flow row by row over this many
    int stretch = 0;                     // stretch factor inside the parent row or column
    int span = 1;                        // columns taken inside a Grid
    int size = 0;                        // Kind::Spacing: in average character widths
};

struct DialogTemplate {
    DialogTemplate() = default;
    DialogTemplate(unsigned id_, std::string caption_, TemplateItem root_,
                   std::string fontFace_ = {}, int fontSize_ = 0)
        : id(id_),
          caption(std::move(caption_)),
          root(std::move(root_)),
          fontFace(std::move(fontFace_)),
          fontSize(fontSize_)
    {
    }

    unsigned id = 0;
    std::string caption;  // English
    TemplateItem root;
    // The template's own font; empty face or size 0 = the application's font.
    std::string fontFace;
    int fontSize = 0;
};

// Builders for readable template declarations.
namespace tpl {
TemplateItem Control(int id, std::string className, std::string caption = {}, unsigned style = 0,
                     int minWidthChars = 0);
TemplateItem Row(std::vector<TemplateItem> children);
TemplateItem Column(std::vector<TemplateItem> children);
TemplateItem Grid(int columns, std::vector<TemplateItem> children);
TemplateItem Group(std::string caption, std::vector<TemplateItem> children, int groupId = -1);
TemplateItem Stretch(int factor = 1);
TemplateItem Spacing(int chars);
// The same item with a stretch factor or a column span.
TemplateItem Stretched(TemplateItem item, int factor);
TemplateItem Spanned(TemplateItem item, int columns);
}  // namespace tpl

// Adds or replaces the template of `t.id`.
void RegisterDialogTemplate(DialogTemplate t);
// Null when no template has that id.
const DialogTemplate* FindDialogTemplate(unsigned id);

struct DialogTemplateRegistration {
    explicit DialogTemplateRegistration(DialogTemplate t) { RegisterDialogTemplate(std::move(t)); }
};
