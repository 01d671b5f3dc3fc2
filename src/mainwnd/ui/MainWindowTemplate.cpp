// The layout of dialog 102, laid out like the radio's front panel: the display on top
// (range, frequency, mode and filter, the other VFO, the S-meter), the operating controls
// below it, then the tab control with the pages and the row of program buttons with the clocks.
#include "MainWindowTemplate.h"

#include "DialogTemplate.h"
#include "MainWindowIds.h"
#include "NoPortChoice.h"

namespace mainwnd {

namespace {

using namespace tpl;
namespace rc = radio::ctl;

TemplateItem Btn(int id, const char* caption, int minChars = 0)
{
    return Control(id, "COnOffButton", caption, 0, minChars);
}

TemplateItem DigitRow(const int (&ids)[9], const char* caption)
{
    // Highest digit first, as the digits read in the display; the window sizes them to the
    // digits once the display has its font.
    std::vector<TemplateItem> items{Stretch()};
    for (int i = 8; i >= 0; --i)
        items.push_back(Control(ids[i], "COnOffButton", caption, kNoTranslate));
    return Row(std::move(items));
}

TemplateItem Display()
{
    return Group(
        "",
        {
            // The range and the latency beside the digits, where the display has room, so
            // the window stays low enough for a large font.
            Row({
                Column({
                    Control(rc::kRange, "CColorLabel", "", kNoTranslate),
                    Stretch(),
                    Control(kLatency, "CColorLabel", "", kNoTranslate),
                }),
                Stretched(Column({
                              DigitRow(kPlusIds, "+"),
                              Control(rc::kFrequency, "CNumEdit", "", 0, 12),
                              DigitRow(kMinusIds, "-"),
                          }),
                          4),
                Column({
                    Btn(kMode, "Mode", 8),
                    Btn(rc::kFilter, "Filter", 8),
                    Stretch(),
                }),
            }),
            Row({
                Stretched(Control(rc::kStatus, "CColorEdit", "", kReadOnly | kNoTranslate, 14), 1),
                Control(kOtherVfoLabel, "CColorLabel", "", kNoTranslate, 8),
                Stretched(Control(rc::kStatus2, "CColorEdit", "", kReadOnly | kNoTranslate, 14), 2),
            }),
            Row({
                Stretched(Control(rc::kSMeterExtra, "CLevelMeter"), 3),
                Control(rc::kSText, "CColorEdit", "", kReadOnly | kNoTranslate, 5),
                Control(rc::kSquelch, "CColorLabel", "SQL", kNoTranslate),
                Btn(rc::kSMeterButton, "On/Off"),
            }),
        },
        kDisplayFrame);
}

TemplateItem VfoGroup()
{
    return Group("VFO", {
                            Grid(4,
                                 {
                                     Btn(rc::kVfoA, "VFO A"),
                                     Btn(rc::kVfoB, "VFO B"),
                                     Btn(kVfoEqual, "VFO A=B"),
                                     Btn(rc::kSplit, "Split"),
                                     Control(kRxA, "STATIC", "RX", kCenter | kNoTranslate),
                                     Control(kRxB, "STATIC", "", kCenter | kNoTranslate),
                                     Btn(rc::kReverse, "Reverse"),
                                     Btn(kSetRtx, "Set RTX"),
                                 }),
                        });
}

TemplateItem DuplexGroup()
{
    return Group("Duplex", {
                               Row({
                                   Btn(rc::kDupPlus, "DUP +"),
                                   Btn(rc::kDupMinus, "DUP -"),
                                   Control(kOffsetLabel, "CColorLabel", "Offset KHz"),
                                   Control(rc::kOffset, "CNumEdit", "", 0, 7),
                                   Btn(rc::kDupSet, "DUP Set"),
                               }),
                           });
}

TemplateItem FunctionGroup()
{
    return Group("Functions", {
                                  Grid(5,
                                       {
                                           Btn(rc::kAtt, "Att"),
                                           Btn(rc::kPre, "Pre"),
                                           Btn(rc::kAgc, "AGC"),
                                           Btn(rc::kNb, "NB"),
                                           Btn(rc::kComp, "Comp"),
                                           Btn(rc::kTone, "Tone"),
                                           Btn(rc::kTsql, "TSQL"),
                                           Btn(rc::kVox, "Vox"),
                                           Btn(rc::kBkin, "BKin"),
                                           Btn(rc::kAutoUpdate, "Autoupdate"),
                                       }),
                              });
}

TemplateItem BandGroup()
{
    return Group("Band", {
                             Row({
                                 Btn(kBand, "Band", 6),
                                 Control(kStackLabel, "CColorLabel", "Stack"),
                                 Btn(kStack1, "1"),
                                 Btn(kStack1 + 1, "2"),
                                 Btn(kStack3, "3"),
                             }),
                             Control(kSlider1, "CSkinSlider"),
                             Control(kSlider2, "CSkinSlider", "", kHidden),
                             Row({Btn(kStore, "Store"), Btn(rc::kStoreR, "Store R."),
                                  Btn(kSync, "Sync."), Btn(rc::kPolling, "Polling")}),
                             Stretch(),
                         });
}

TemplateItem BottomRow()
{
    return Row({
        Btn(kHookClipboard, "Hook Clipboard"),
        Control(kLocalClock, "CColorEdit", "", kReadOnly | kNoTranslate, 28),
        Control(kUtcClock, "CColorEdit", "", kReadOnly | kNoTranslate, 28),
        Stretch(),
        Btn(kHelp, "Help"),
        Btn(kExit, "Exit", 8),
    });
}

TemplateItem HiddenFields()
{
    return Row({
        Control(kDelayText, "EDIT", "", kHidden | kNoTranslate),
        Control(kHidden1, "CNumEdit", "", kHidden),
        Control(kHidden2, "CNumEdit", "", kHidden),
    });
}

}  // namespace

DialogTemplate MainWindowTemplate()
{
    return DialogTemplate(kDialogId, "Corvane",
                          Column({
                              Display(),
                              Row({
                                  // Duplex under the band group, which has room below its rows.
                                  Stretched(Column({VfoGroup(), FunctionGroup(), Stretch()}), 1),
                                  Stretched(Column({BandGroup(), DuplexGroup()}), 1),
                              }),
                              Stretched(Control(kTabs, "TABCONTROL"), 1),
                              BottomRow(),
                              HiddenFields(),
                          }));
}

}  // namespace mainwnd

namespace mainwnd {

DialogTemplate NoPortTemplate()
{
    using namespace tpl;
    return DialogTemplate(CNoPortChoice::kDialogId, CNoPortChoice::kCaption,
                          Column({
                              Control(CNoPortChoice::kTextId, "STATIC", "", kNoTranslate, 40),
                              Row({
                                  Stretch(),
                                  Control(CNoPortChoice::kSetupButton, "BUTTON", "Setup"),
                                  Control(CNoPortChoice::kOffLineButton, "BUTTON", "Work off line"),
                                  Control(CNoPortChoice::kExitButton, "BUTTON", "Exit"),
                              }),
                          }));
}

void RegisterMainWindowTemplates()
{
    RegisterDialogTemplate(MainWindowTemplate());
    RegisterDialogTemplate(NoPortTemplate());
}

}  // namespace mainwnd
