#include "DatePicker.h"

#include "ControlFactory.h"

#include <QDateEdit>

const char* DatePickerClass()
{
    static const char* const name = [] {
        constexpr const char* kName = "DATEPICKER";
        RegisterControlClass(kName, [](const ControlSpec&, QWidget* parent) -> QWidget* {
            auto* picker = new QDateEdit(parent);
            picker->setCalendarPopup(true);
            picker->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
            return picker;
        });
        return kName;
    }();
    return name;
}
