#include "ScanRangeMessage.h"

#include "Language.h"
#include "ListPageTools.h"
#include "MessageBoxRequest.h"

namespace scans {

namespace {
constexpr int kMsgStartOut = 107;
constexpr int kMsgEndOut = 108;
constexpr int kMsgOrder = 1139;
}  // namespace

bool RefuseScanRange(const CLanguage& language, int64_t start, int64_t end, int64_t low,
                     int64_t high, QWidget* startField, QWidget* endField)
{
    const lists::ScanRangeFault fault = lists::CheckScanRange(start, end, low, high);
    if (fault == lists::ScanRangeFault::None)
        return false;
    const long long lo = low;
    const long long hi = high;
    std::string text;
    QWidget* focus = startField;
    switch (fault) {
    case lists::ScanRangeFault::Start: text = language.Format(kMsgStartOut, {lo, hi}); break;
    case lists::ScanRangeFault::End:
        text = language.Format(kMsgEndOut, {lo, hi});
        focus = endField;
        break;
    default: text = language.LoadString(kMsgOrder); break;
    }
    language.ShowMessage({text, {}, mb::kOk | mb::kIconError, 0});
    lists::FocusControl(focus);
    return true;
}

}  // namespace scans
