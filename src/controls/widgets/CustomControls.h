// Makes the custom controls available to dialog templates by their class names: "CFlatButton",
// "COnOffButton", "CColorEdit", "CNumEdit", "CMaskEdit", "CTimeEdit", "CLevelMeter",
// "CSkinSlider", "CMySlider", "CColorLabel", "CLinkLabel", "CODrawCombo", "CFontCombo".
// The application calls it once before the first dialog opens.
#pragma once

void RegisterCustomControls();
