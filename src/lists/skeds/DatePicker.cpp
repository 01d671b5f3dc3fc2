#include "DatePicker.h"

#include "ControlFactory.h"
#include "UserDate.h"

#include <QDateEdit>
#include <QLocale>

namespace {

// The Qt fields of the strftime date conversions.
const char* QtField(char conversion)
{
    switch (conversion) {
    case 'd': return "dd";
    case 'e': return "d";
    case 'm': return "MM";
    case 'y': return "yy";
    case 'Y': return "yyyy";
    case 'b':
    case 'h': return "MMM";
    case 'B': return "MMMM";
    case 'a': return "ddd";
    case 'A': return "dddd";
    case 'D': return "MM/dd/yy";
    case 'F': return "yyyy-MM-dd";
    default: return nullptr;
    }
}

QString DisplayFormat()
{
    if (std::optional<QString> format = QtDateFormat(platform::UserDateFormat()))
        return *format;
    return QLocale::system().dateFormat(QLocale::ShortFormat);
}

}  // namespace

std::optional<QString> QtDateFormat(std::string_view pattern)
{
    QString format;
    QString literal;
    const auto flush = [&] {
        if (!literal.isEmpty())
            format += QLatin1Char('\'') + literal + QLatin1Char('\'');
        literal.clear();
    };
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c != '%') {
            if (c == '\'') {
                flush();
                format += QStringLiteral("''");
            } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
                literal += QLatin1Char(c);
            } else {
                flush();
                format += QLatin1Char(c);
            }
            continue;
        }
        if (++i < pattern.size() && (pattern[i] == 'E' || pattern[i] == 'O'))
            ++i;  // the locale's alternative digits: the plain ones do
        if (i >= pattern.size())
            return std::nullopt;
        if (pattern[i] == '%') {
            flush();
            format += QLatin1Char('%');
            continue;
        }
        const char* field = QtField(pattern[i]);
        if (field == nullptr)
            return std::nullopt;
        flush();
        format += QLatin1String(field);
    }
    flush();
    if (format.isEmpty())
        return std::nullopt;
    return format;
}

const char* DatePickerClass()
{
    static const char* const name = [] {
        constexpr const char* kName = "DATEPICKER";
        RegisterControlClass(kName, [](const ControlSpec&, QWidget* parent) -> QWidget* {
            auto* picker = new QDateEdit(parent);
            picker->setCalendarPopup(true);
            picker->setDisplayFormat(DisplayFormat());
            return picker;
        });
        return kName;
    }();
    return name;
}
