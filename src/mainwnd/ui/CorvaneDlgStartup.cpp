// The main window's start-up sequence, in the order the window runs it.
#include "CorvaneDlg.h"

#include "ColorLabel.h"
#include "ControlResources.h"
#include "FlatButton.h"
#include "FrameworkContext.h"
#include "Ini.h"
#include "Language.h"
#include "LevelMeter.h"
#include "MainWindowTemplate.h"
#include "MessagePump.h"
#include "NumEdit.h"
#include "PageTabCtrl.h"
#include "PlaceholderWindows.h"
#include "Profile.h"
#include "QuietStart.h"
#include "SkinSlider.h"
#include "ToolTipLoc.h"
#include "WorkProgressDlg.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMetaObject>

#include <algorithm>
#include <cmath>

namespace {

namespace rc = radio::ctl;
using namespace mainwnd;

constexpr settings::IniInt kChild{"CurrentSet", "Child", 9};
constexpr settings::IniInt kCluster{"CurrentSet", "Cluster", 0};
constexpr settings::IniInt kAutoAggiorna{"CurrentSet", "AutoAggiorna", 0};
constexpr settings::IniInt kSMeterOn{"CurrentSet", "SMeterON", 1};
constexpr settings::IniInt kOnMemGrid{"CurrentSet", "OnMemGrid", 0};
constexpr settings::IniInt kOnMemGridRadio{"CurrentSet", "OnMemGridRadio", 0};
constexpr settings::IniInt k36Off{"Setup", "36OFF", 0};
constexpr settings::IniString kVersion{"Setup", "Version", ""};

constexpr int kMsgConfigNotValid = 102;
constexpr int kMsgParameter36 = 195;
constexpr int kMsgInitialisation = 1396;
constexpr int kStrPageFirst = 2000;
constexpr int kFirstInitPauseMs = 500;

// The pages in the order the tab control shows them.
constexpr unsigned kPageOrder[] = {144, 146, 141, 154, 227, 152, 253, 274, 4001, 150};

// Control id : language string id.
struct Tip {
    int control;
    int text;
};
constexpr Tip kTips[] = {
    {1015, 1008}, {1028, 1009}, {1040, 1010}, {3, 1011},    {1031, 1014}, {1032, 1015},
    {4, 1013},    {1094, 1017}, {1111, 1012}, {1052, 1019}, {5, 1050},    {7, 1382},
    {6, 1058},    {1041, 1095}, {1143, 1167}, {1144, 1168}, {1180, 1224}, {1210, 1001},
    {1212, 1002}, {1213, 1003}, {1214, 1004}, {1215, 1005}, {1216, 1006}, {1217, 1007},
    {1218, 1343}, {1219, 1342}, {1211, 1350}, {1220, 1344}, {1221, 1345}, {1222, 1351},
    {1223, 1348}, {1224, 1346}, {1225, 1352}, {1226, 1349}, {1227, 1347}, {1000, 1353},
    {1236, 1354}, {1250, 1354}, {1054, 1355}, {1055, 1362}, {1056, 1363}, {1038, 1397}};
constexpr Tip kFunctionTips[] = {{1029, 1187}, {1030, 1188}, {1033, 1189}, {1034, 1191},
                                 {1035, 1192}, {1036, 1193}, {1037, 1194}, {1538, 1195},
                                 {1539, 1196}, {1544, 1197}, {1048, 1198}, {1049, 1199},
                                 {1051, 1200}, {1053, 1201}, {1009, 1202}};

// Buttons that hold a state (the others spring back).
constexpr int kStateButtons[] = {1028, 1031, 1032, 1040, 1029, 1030, 1033, 1034, 1035,
                                 1036, 1037, 1538, 1539, 1544, 1048, 1049, 1051, 1038,
                                 1041, 3,    5,    6,    1054, 1055, 1056};

}  // namespace

bool CCorvaneDlg::OnInitDialog()
{
    CMyFontDialog::OnInitDialog();
    SetFirstInit(true);
    programFolder_ = context_.ProgramFolder();
    setWindowTitle(QString::fromStdString(DisplayName()));

    // 2. The link.
    if (!Connect(false))
        return false;

    // 3. No polling until the start-up is through.
    SetPollingEnabled(false);

    // 5. The icon, when the resources carry one.
    const QPixmap icon = res::LoadIcon(128);
    if (!icon.isNull()) {
        setWindowIcon(QIcon(icon));
        // The tool windows and dialogs carry it too.
        QApplication::setWindowIcon(QIcon(icon));
    }

    // Known before the pages are built: the Information page shows it.
    version_ = context_.GetVersionString();

    // 7-9. Pages, tool windows, S-meter, tabs.
    CreateChildWindows();
    if (auto* meter = qobject_cast<CLevelMeter*>(Item(rc::kSMeterExtra))) {
        meter->SetMeterBands();
        meter->SetRangeValue();
        meter->ShowGrid();
        meter->ShowFalloff();
    }
    AddPages();

    // 10. Tool tips; only shown while Setup/"ToolTips" is on.
    AddToolTips(false);

    // 11. Title and version.
    UpdateTitle(0);
    ini_.WriteString(kVersion, version_);

    // 12, 13. Fields, buttons, clipboard and auto-update.
    ConfigureFields();
    SetButton(kHookClipboard, ini_.GetInt(kCluster) != 0);
    controller_->OnAutoUpdate(ini_.GetInt(kAutoAggiorna) != 0);
    SetControlText(rc::kSquelch, "SQL");
    AddToolTips(true);

    // 14. S-meter; the clock captions go to the timer with the fields (ConfigureFields).
    if (ini_.GetInt(kSMeterOn) != 0)
        controller_->ShowSMeterOn();
    else
        controller_->ShowSMeter(1);

    // 15. The one-second timer.
    SetTimer(kTimerId, kTimerMs);
    timerId_ = kTimerId;

    // 16, 17. Position and the memory windows.
    RestoreWindowPosition();
    PlaceMemoryWindow(ini_.GetInt(kOnMemGrid));
    PlaceMemoryRadioWindow(ini_.GetInt(kOnMemGridRadio));

    // 18. Sliders: the second stays hidden.
    if (auto* s = qobject_cast<CSkinSlider*>(Item(kSlider1)))
        s->InitSkin(res::kBitmapChannel);
    if (auto* s = qobject_cast<CSkinSlider*>(Item(kSlider2))) {
        s->InitSkin(res::kBitmapChannel2);
        s->hide();
    }

    // 19. First initialisation.
    if (firstInit_) {
        PlaceTxRxWindow();
        PlaceAudioRecorderWindow();
        controller_->UpdateRangeInfo();
        if (!WaitPumpingMessages(kFirstInitPauseMs) && Closing())
            return false;
        SetFirstInit(false);
    }

    // 20, 21. Colours and polling button.
    ApplyColours();
    controller_->SetFullPolling(ini_.GetInt(settings::currentset::Polling) != 0);
    SetButton(rc::kPolling, ini_.GetInt(settings::currentset::Polling) != 0);

    // 22. The transceive reminder, once.
    if (ini_.GetInt(k36Off) == 0) {
        language_.MessageBox(kMsgParameter36, mb::kIconExclamation);
        ini_.WriteInt(k36Off, 1);
    }

    // 23. Measure the radio.
    if (!IsOffLine()) {
        RunSpeedTestAtStartup();
        if (endedEarly_ || Closing())
            return false;
    }

    // 24. Read the radio and switch polling on.
    FinishInitialisation();
    initialised_ = true;
    if (startMinimised_) {
        // Once more when the start-up is over: a window manager may map the first showing
        // normally, or restore it when the tool windows come up.
        QMetaObject::invokeMethod(
            this,
            [this] {
                CQuietStart::Minimise(*this);
                quietStart_.reset();
            },
            Qt::QueuedConnection);
    }
    return false;
}

bool CCorvaneDlg::Connect(bool atSetup)
{
    bool forceSetup = false;
    for (;;) {
        const int result = link_->LoadSettings(forceSetup);
        if (result == CRadioLink::kWantsSetup) {
            forceSetup = true;
            continue;
        }
        if (result == CRadioLink::kSetupShown) {
            if (atSetup && settingsChanged_)
                return false;
            // Without a configuration dialog nothing can have changed: asking again would loop.
            if (!setupRunner_) {
                language_.MessageBox(kMsgConfigNotValid, mb::kIconError);
                atSetup ? CloseProgram() : EndEarly(ctl::kIdCancel);
                return false;
            }
            forceSetup = false;
            continue;
        }
        if (result == CRadioLink::kNotConnected) {
            language_.MessageBox(kMsgConfigNotValid, mb::kIconError);
            atSetup ? CloseProgram() : EndEarly(ctl::kIdCancel);
            return false;
        }
        if (result == CRadioLink::kDriverRefused && !atSetup) {
            EndEarly(ctl::kIdCancel);
            return false;
        }
        break;
    }
    SyncControllerSettings();
    return true;
}

void CCorvaneDlg::SyncControllerSettings()
{
    const LinkSettings& s = link_->Settings();
    radio::CRadioController::LinkFacts facts;
    facts.address = static_cast<uint8_t>(s.id.address & 0xFF);
    facts.model = s.id.model;
    facts.delayCommand = s.delayCommand;
    facts.sMeterLower = s.sMeterLower;
    facts.sMeterDivisor = s.sMeterDivisor;
    facts.extendedFunctions = s.extendedFunctions;
    facts.offLine = link_->IsOffLine();
    controller_->ApplyLinkFacts(facts);
    controller_->SetSerialOpen(link_->MonitoredPort() != nullptr
                               || link_->ListenerPort() != nullptr);
    controller_->SetLog(link_->IsLogOpen() ? &link_->Log() : nullptr);
}

void CCorvaneDlg::EndEarly(int result)
{
    // The window's loop does not start once the start-up has ended it.
    endedEarly_ = true;
    EndDialog(result);
}

void CCorvaneDlg::AddPages()
{
    CPageTabCtrl* tabs = Tabs();
    if (tabs == nullptr)
        return;
    // The window's height must not depend on the tallest page.
    tabs->EnablePageScrolling();
    for (size_t i = 0; i < std::size(kPageOrder); ++i) {
        QWidget* page = Page(kPageOrder[i]);
        if (page != nullptr)
            tabs->AddPage(language_.LoadString(kStrPageFirst + static_cast<int>(i)), page,
                          static_cast<int>(kPageOrder[i]));
    }
    const int child = ini_.GetInt(kChild);
    storedPage_ = child >= 0 && child < tabs->GetItemCount() ? child : tabs->GetItemCount() - 1;
    tabs->ActivatePage(StartPage(*tabs, storedPage_));
}

int CCorvaneDlg::StartPage(const CPageTabCtrl& tabs, int stored)
{
    // An empty stand-in page is no place to start: the first page that shows something is.
    const auto empty = [&](int i) {
        const auto* p = qobject_cast<const CPlaceholderPage*>(tabs.GetPage(i));
        return p != nullptr && p->IsEmpty();
    };
    if (!empty(stored))
        return stored;
    for (int i = 0; i < tabs.GetItemCount(); ++i) {
        if (!empty(i)) {
            standInPage_ = i;
            return i;
        }
    }
    return stored;
}

void CCorvaneDlg::AddToolTips(bool functionPanel)
{
    CToolTipLoc& tips = ToolTips();
    if (functionPanel) {
        for (const Tip& t : kFunctionTips)
            if (QWidget* w = Item(t.control))
                tips.AddToolId(w, t.text);
        return;
    }
    for (const Tip& t : kTips)
        if (QWidget* w = Item(t.control))
            tips.AddToolId(w, t.text);
}

void CCorvaneDlg::ConfigureFields()
{
    SetDlgItemText(kDelayText, "50");
    for (int id : {rc::kFrequency, kHidden1, kHidden2, rc::kOffset})
        if (CNumEdit* field = NumField(id))
            field->SetFormat(0, ',');
    const std::string face = GetFontFace();
    const int points = GetFontSize();
    if (CNumEdit* freq = NumField(rc::kFrequency)) {
        displayPoints_ = static_cast<int>(points * 3.2);
        freq->SetPointFont(displayPoints_, face);
        freq->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        freq->installEventFilter(this);
        freq->setFrame(false);
        AlignDigitButtons(*freq);
    }
    if (auto* sText = qobject_cast<CColorEdit*>(Item(rc::kSText))) {
        sText->SetPointFont(points * 2, face);
        sText->setAlignment(Qt::AlignCenter);
        sText->setFrame(false);
        // Room for the widest reading at the field's own, larger font.
        const QFontMetrics fm(sText->font());
        sText->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("S 9+60"))
                               + fm.averageCharWidth());
    }
    for (int id : kStateButtons)
        if (COnOffButton* b = Button(id))
            b->SetButtonType(CFlatButton::kCheckBox);
    if (COnOffButton* mode = Button(kMode)) {
        modeMenu_ = new QMenu;
        mode->SetMenu(modeMenu_, this);
    }
    if (COnOffButton* band = Button(kBand)) {
        bandMenu_ = PartsBandMenu();
        if (bandMenu_ != nullptr) {
            band->SetMenu(bandMenu_, this);
        } else {
            bandMenu_ = new QMenu;
            static const char* const kBands[] = {"160 m", "80 m",  "40 m",   "30 m", "20 m",
                                                 "17 m",  "15 m",  "12 m",   "10 m", "6 m",
                                                 "2 m",   "70 cm", "General"};
            for (int i = 0; i <= kMenuBandLast - kMenuBandFirst; ++i)
                CFlatButton::AddMenuCommand(bandMenu_, kMenuBandFirst + i, kBands[i]);
            band->SetMenu(bandMenu_, this);
        }
    }
    // The band's name takes two lines ("20 mt" over "14MHz").
    if (QWidget* band = Item(kBand))
        band->setMinimumHeight(2 * band->fontMetrics().height() + 8);
    // The band table and stacking come with their own part.
    const bool bands = PartsServeBands();
    for (int id : {kBand, kStack1, kStack1 + 1, kStack3})
        EnableControl(id, bands);
    for (int id : {kStore, rc::kStoreR})
        EnableControl(id, !IsUnavailable(id));
    if (auto* rx = Item(kRxB))
        rx->setMinimumWidth(rx->fontMetrics().horizontalAdvance(QStringLiteral("RX")));
    for (const auto& part : parts_)
        part->OnControlsCreated();
    LimitFieldWidths();
}

void CCorvaneDlg::LimitFieldWidths()
{
    // Entry fields and clocks keep about their width; the frequency and the status lines take
    // the room a larger window gives.
    const int slack = 4 * fontMetrics().averageCharWidth();
    for (int id : {rc::kOffset, rc::kSText, kLocalClock, kUtcClock})
        if (QWidget* w = Item(id))
            w->setMaximumWidth(std::max(w->minimumWidth(), w->minimumSizeHint().width()) + slack);
}

// Each step button stands over (or under) its digit of the display.
void CCorvaneDlg::AlignDigitButtons(const QLineEdit& display)
{
    const QFontMetrics fm(display.font());
    const int digit = fm.horizontalAdvance(QLatin1Char('0'));
    const int dot = fm.horizontalAdvance(QLatin1Char('.'));
    const QMargins text = display.textMargins();
    // QLineEdit keeps a small fixed margin beside its text.
    const int rightMargin = text.right() + 2 + (display.hasFrame() ? 2 : 0);
    for (const int* ids : {kPlusIds, kMinusIds}) {
        for (int i = 0; i < 9; ++i) {
            QWidget* b = Item(ids[i]);
            if (b == nullptr)
                continue;
            b->setFixedWidth(digit);
            QBoxLayout* row = RowOf(b);
            if (row == nullptr)
                continue;
            row->setSpacing(0);
            row->setContentsMargins(0, 0, rightMargin, 0);
            // The group separators sit right of the 1 kHz and 1 MHz digits: a gap as wide, so
            // each sign stays over its digit.
            if (i == 3 || i == 6) {
                const int after = row->indexOf(b) + 1;
                QLayoutItem* next = row->itemAt(after);
                if (next != nullptr && next->spacerItem() != nullptr) {
                    next->spacerItem()->changeSize(dot, 0, QSizePolicy::Fixed,
                                                   QSizePolicy::Minimum);
                    row->invalidate();
                } else {
                    row->insertSpacing(after, dot);
                }
            }
        }
    }
}

QBoxLayout* CCorvaneDlg::RowOf(QWidget* w) const
{
    QWidget* parent = w->parentWidget();
    if (parent == nullptr || parent->layout() == nullptr)
        return nullptr;
    std::vector<QLayout*> todo{parent->layout()};
    while (!todo.empty()) {
        QLayout* l = todo.back();
        todo.pop_back();
        if (l->indexOf(w) >= 0)
            return qobject_cast<QBoxLayout*>(l);
        for (int i = 0; i < l->count(); ++i)
            if (QLayout* inner = l->itemAt(i)->layout())
                todo.push_back(inner);
    }
    return nullptr;
}

bool CCorvaneDlg::IsUnavailable(int id) const
{
    // The store buttons belong to the memory windows' parts.
    if (id != kStore && id != radio::ctl::kStoreR)
        return false;
    for (const auto& part : parts_)
        if (part->ServesCommand(id))
            return false;
    return true;
}

void CCorvaneDlg::RunSpeedTestAtStartup()
{
    const int r = link_->RunSpeedTest();
    if (Closing())
        return;
    setEnabled(true);
    const int choice = link_->ApplySpeedTestResult(r, true);
    if (r >= 0) {
        controller_->SetDelayCommand(link_->DelayCommand());
        return;
    }
    if (choice == CRadioLink::kNoPortOffLine) {
        controller_->SetOffLine(true);
    }
}

void CCorvaneDlg::FinishInitialisation()
{
    CWorkProgressDlg progress;
    const bool shown = progress.Create(this);
    if (shown) {
        progress.setWindowTitle(windowTitle());
        progress.SetRange(0, 4, language_.LoadString(kMsgInitialisation));
        progress.SetStep(1);
        progress.HideCancel();
    }
    const int delayMemory = link_->Settings().delayMemory;
    int step = 0;
    const auto advance = [&] {
        if (shown)
            progress.SetPos(++step);
    };
    if (WaitPumpingMessages(delayMemory) && !Closing()) {
        if (!IsOffLine())
            controller_->ReadFrequencyMode(false);
        WaitPumpingMessages(delayMemory);
    }
    advance();
    if (!Closing())
        SetPollingEnabled(true);
    advance();
    // The remote and DDE services and the start-up programs come with their own parts; none
    // starts once the program is closing.
    for (const auto& part : parts_)
        if (!Closing())
            part->OnStarted();
    advance();
    for (const auto& part : parts_)
        if (!Closing())
            part->LaunchStartupPrograms();
    advance();
    if (shown)
        progress.DestroyWindow();
}

void CCorvaneDlg::UpdateTitle(int beta)
{
    const std::string title = BuildTitle(language_, version_, link_->Settings().id.model, beta);
    setWindowTitle(QString::fromStdString(title));
    for (const auto& part : parts_)
        part->OnTitleChanged(title);
}
