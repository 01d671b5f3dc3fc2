#include "CustomControls.h"

#include "ColorLabel.h"
#include "ControlFactory.h"
#include "FlatButton.h"
#include "FontCombo.h"
#include "LevelMeter.h"
#include "LinkLabel.h"
#include "MaskEdit.h"
#include "NumEdit.h"
#include "SkinSlider.h"

namespace {
QString Caption(const ControlSpec& decl)
{
    return QString::fromStdString(decl.caption);
}

template <class T>
void RegisterPlain(const char* name)
{
    RegisterControlClass(
        name, [](const ControlSpec&, QWidget* parent) -> QWidget* { return new T(parent); });
}

template <class T>
void RegisterCaptioned(const char* name)
{
    RegisterControlClass(name, [](const ControlSpec& decl, QWidget* parent) -> QWidget* {
        return new T(Caption(decl), parent);
    });
}
}  // namespace

void RegisterCustomControls()
{
    RegisterCaptioned<CFlatButton>("CFlatButton");
    RegisterCaptioned<COnOffButton>("COnOffButton");
    RegisterPlain<CColorEdit>("CColorEdit");
    RegisterPlain<CNumEdit>("CNumEdit");
    RegisterPlain<CMaskEdit>("CMaskEdit");
    RegisterPlain<CTimeEdit>("CTimeEdit");
    RegisterPlain<CLevelMeter>("CLevelMeter");
    RegisterPlain<CSkinSlider>("CSkinSlider");
    RegisterPlain<CMySlider>("CMySlider");
    RegisterCaptioned<CColorLabel>("CColorLabel");
    RegisterCaptioned<CLinkLabel>("CLinkLabel");
    RegisterPlain<CODrawCombo>("CODrawCombo");
    RegisterPlain<CFontCombo>("CFontCombo");
}
