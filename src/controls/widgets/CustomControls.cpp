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
QString Caption(const ControlSpec& spec) { return QString::fromStdString(spec.caption); }

template <class T>
void RegisterPlain(const char* name) {
    RegisterControlClass(name, [](const ControlSpec&, QWidget* parent) -> QWidget* { return new T(parent); });
}

template <class T>
void RegisterCaptioned(const char* name) {
    RegisterControlClass(name, [](const ControlSpec& spec, QWidget* parent) -> QWidget* {
        return new T(Caption(spec), parent);
    });
}
}  // namespace

void RegisterCustomControls() {
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
