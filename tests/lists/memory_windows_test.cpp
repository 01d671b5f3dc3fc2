// The radio memories window and the memory groups page in the running program, against the
// simulated radio's driver: "Store R." fills the editor, Save in Memory Mode writes the channel
// into the radio, the rows survive the exit in "MemRTX.Dat", the IC-718 titles its columns by
// what they hold; groups are made, renamed, cloned and deleted, each keeping its own rows, and
// a name that would leave the folder is refused, as is a name typed into the group box; both
// lists go to CSV files (in the program folder when named bare) and come back.
#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include "GridWidget.h"
#include "ImportExportDlg.h"
#include "SyncMemoriesDlg.h"
#include "Ini.h"
#include "MainWindowIds.h"
#include "MemoriesWindow.h"
#include "MemoryGroupsPage.h"
#include "NumEdit.h"
#include "RadioMemoriesWindow.h"
#include "RadioView.h"
#include "WorkProgressDlg.h"
#include "GroupNameDlg.h"

using namespace wndtest;
using R = CDlgMemRadio;

namespace {

CDlgMemRadio& RadioMem(CCorvaneDlg& w)
{
    auto* m = qobject_cast<CDlgMemRadio*>(w.ToolWindow(R::kTemplateId));
    EXPECT_NE(m, nullptr);
    return *m;
}

// A key pressed and released as the keyboard would send it.
void PressKey(QWidget* target, int key, const QString& text = {})
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

void TypeText(QWidget* target, const std::string& text)
{
    for (char c : text)
        PressKey(target, 0, QString(QChar(c)));
}

// Answers the first window of type T shown, as a user would once it is up.
template <typename T>
struct AnswerWhenShown : QObject {
    explicit AnswerWhenShown(std::function<void(T*)> answer) : answer_(std::move(answer))
    {
        qApp->installEventFilter(this);
    }
    ~AnswerWhenShown() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* object, QEvent* event) override
    {
        if (T* shown = qobject_cast<T*>(object);
            shown && !answered && event->type() == QEvent::Show) {
            answered = true;
            QTimer::singleShot(0, shown, [this, shown] { answer_(shown); });
        }
        return false;
    }
    bool answered = false;

private:
    std::function<void(T*)> answer_;
};
}  // namespace

TEST(RadioMemoriesWindow, StoreRSaveInMemoryModeWritesTheRadioAndTheFile)
{
    WindowFixture f;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        radio::CRadioController& c = w.Controller();
        ASSERT_TRUE(PumpUntil([&] { return c.State().frequencyKnown; }));
        c.SelectVfoB();
        c.SetFrequency(7050000);
        c.SelectVfoA();
        c.SetFrequency(14200000);
        c.SetMode(radio::kUsb);
        c.SelectVfoA();

        QWidget* store = w.GetDlgItem(radio::ctl::kStoreR);
        ASSERT_TRUE(store->isEnabled());
        qobject_cast<QAbstractButton*>(store)->click();
        CDlgMemRadio& m = RadioMem(w);
        EXPECT_TRUE(m.isVisible());
        EXPECT_EQ(m.GetDlgItemAs<CNumEdit>(R::kVfoA)->GetValue(), 14200000);
        EXPECT_EQ(m.GetDlgItemAs<CNumEdit>(R::kVfoB)->GetValue(), 7050000);
        ASSERT_FALSE(f.boxes.empty());
        EXPECT_EQ(f.boxes.back().text, "Insert a description, choose a memory and press Save");
        CDataGrid& g = m.Grid();
        ASSERT_EQ(g.GetRowCount(), 100);
        EXPECT_EQ(g.GetItemText(5, 0), "05");

        ASSERT_TRUE(m.MemoryMode());
        // Picked as a user does: the editor keeps what "Store R." put there.
        auto* channel = m.GetDlgItemAs<QComboBox>(R::kChannel);
        channel->setCurrentIndex(4);
        emit channel->activated(4);
        EXPECT_EQ(m.GetDlgItemAs<CNumEdit>(R::kVfoA)->GetValue(), 14200000);
        m.SetDlgItemText(R::kDescription, "Twenty~m  ");
        const size_t from = f.Trace().size();
        m.GetDlgItemAs<QAbstractButton>(R::kSave)->click();
        EXPECT_EQ(g.GetItemText(5, 1), "Twenty m");
        EXPECT_EQ(g.GetItemText(5, 2), "14.200.000");
        // The frames reach the trace as the radio takes them.
        PumpUntil([&] { return f.Trace().find("FE FE 58 E0 09 FD", from) != std::string::npos; });
        const std::string trace = f.Trace();
        const size_t tune = trace.find("FE FE 58 E0 05 00 00 20 14 00 FD", from);
        const size_t select = trace.find("FE FE 58 E0 08 00 05 FD", tune);
        const size_t write = trace.find("FE FE 58 E0 09 FD", select);
        EXPECT_NE(trace.find("FE FE 58 E0 05 00 00 05 07 00 FD", from), std::string::npos)
            << "VFO B as stored";
        EXPECT_NE(tune, std::string::npos) << trace.substr(from);
        EXPECT_NE(select, std::string::npos) << trace.substr(from);
        EXPECT_NE(write, std::string::npos) << trace.substr(from);
        // A radio channel has no active VFO to select before it is written.
        EXPECT_GT(trace.find("FE FE 58 E0 07 ", tune), select) << trace.substr(from);

        // Recalled, the channel's duplex direction is the main window's as well.
        m.Grid().SetItemText(5, lists::radiomem::kDuplex, "DUP+");
        c.ClearDuplexButtons();
        m.RecallChannel(5, false);
        EXPECT_TRUE(c.State().duplexPlus);
        EXPECT_TRUE(c.State().duplexPlusRemembered);
        EXPECT_FALSE(c.State().split);
        m.Grid().SetItemText(5, lists::radiomem::kDuplex, "NODUP");

        // An empty channel leaves a mode in each box, so its channel is stored and written with
        // one.
        channel->setCurrentIndex(5);
        emit channel->activated(5);
        m.SetDlgItemText(R::kDescription, "Six");
        m.GetDlgItemAs<CNumEdit>(R::kVfoA)->SetValue(7050000);
        const size_t six = f.Trace().size();
        m.GetDlgItemAs<QAbstractButton>(R::kSave)->click();
        EXPECT_EQ(g.GetItemText(6, lists::radiomem::kModeA), "USB");
        EXPECT_FALSE(g.GetItemText(6, lists::radiomem::kModeB).empty());
        ASSERT_TRUE(PumpUntil([&] {
            const std::string t = f.Trace();
            const size_t at = t.find("FE FE 58 E0 08 00 06 FD", six);
            return at != std::string::npos && t.find("FE FE 58 E0 09 FD", at) != std::string::npos;
        }));
        EXPECT_LT(f.Trace().find("FE FE 58 E0 06 01 ", six), f.Trace().find("08 00 06 FD", six));
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
    const std::string file = testing_support::GetFile(f.folder / "MemRTX.Dat");
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 99);
    EXPECT_NE(file.find("05 ~ Twenty m ~ 14.200.000 ~ USB"), std::string::npos) << file;
    EXPECT_NE(file.find("06 ~ Six ~ 7.050.000 ~ USB ~ OFF ~ 0 ~ "), std::string::npos) << file;

    // Read back at the next start, on an IC-718 that titles Tone and TSQL by what they hold.
    f.SetModel(3);
    const bool again = f.Run([&](CCorvaneDlg& w) {
        w.ShowToolWindow(R::kTemplateId);
        CDlgMemRadio& m = RadioMem(w);
        EXPECT_EQ(m.Grid().GetItemText(5, 1), "Twenty m");
        EXPECT_EQ(m.Grid().GetItemText(0, 10), "NR");
        EXPECT_EQ(m.Grid().GetItemText(0, 11), "ANF");
        EXPECT_EQ(m.GetDlgItemText(R::kTone), "NR");
        // In Memory Mode the button blinks with the window's timer; off, it rests.
        auto* mode = m.GetDlgItemAs<QAbstractButton>(R::kMemoryMode);
        ASSERT_TRUE(m.MemoryMode());
        const QImage first = mode->grab().toImage();
        EXPECT_TRUE(PumpUntil([&] { return mode->grab().toImage() != first; }));
        EXPECT_TRUE(PumpUntil([&] { return mode->grab().toImage() == first; }));
        mode->click();
        ASSERT_FALSE(m.MemoryMode());
        // Ticks, as the window's timer gives them: the first puts the icon at rest, the next
        // leave it there.
        m.BlinkButtonIcon();
        const QImage off = mode->grab().toImage();
        for (int tick = 0; tick < 2; ++tick) {
            m.BlinkButtonIcon();
            EXPECT_EQ(mode->grab().toImage(), off) << "tick " << tick;
        }
        w.CloseProgram();
    });
    ASSERT_TRUE(again);
}

TEST(MemoryGroupsPage, GroupsKeepTheirRowsAndBadNamesAreRefused)
{
    WindowFixture f;
    const std::string base =
        "Base ~ 7.050.000 ~ LSB ~ OFF ~ 7.050.000 ~ LSB ~ OFF ~ NOSPLIT ~ "
        "VFO A ~ NODUP ~ DEF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ "
        "OFF ~ NO ~ \n";
    testing_support::PutFile(f.folder / "MemPC.Dat", base);
    testing_support::PutFile(f.folder / "Net.MEM", "");
    {
        // Left with the radio memories window open.
        CIni ini;
        ini.SetPath((f.folder / "Corvane.ini").c_str());
        ini.WriteInt("CurrentSet", "OnMemGridRadio", 1);
    }
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        auto* page = qobject_cast<CMem*>(w.Page(CMem::kTemplateId));
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(RadioMem(w).isVisible());
        EXPECT_TRUE(page->GetDlgItemAs<QCheckBox>(CMem::kShowRadio)->isChecked());
        auto* pc = qobject_cast<CDlgMem*>(w.ToolWindow(CDlgMem::kTemplateId));
        ASSERT_NE(pc, nullptr);
        auto* combo = page->GetDlgItemAs<QComboBox>(CMem::kGroups);
        ASSERT_EQ(combo->count(), 2);
        EXPECT_EQ(combo->itemText(1), "Net");
        EXPECT_EQ(pc->Grid().GetRowCount(), 2);

        std::string answer;
        page->SetNameAsker([&](const std::string&) { return std::optional<std::string>(answer); });
        for (const char* bad : {"../x", "", ".hidden", "a\tb"}) {
            answer = bad;
            const size_t boxes = f.boxes.size();
            page->NewGroup();
            EXPECT_EQ(f.boxes.size(), boxes + 1) << bad;
            EXPECT_EQ(combo->count(), 2) << bad;
        }
        EXPECT_FALSE(fs::exists(f.folder.path + "/../x.MEM"));

        // Enter in the group box makes no group: only "New" does, with its checks.
        QLineEdit* typed = combo->lineEdit();
        ASSERT_NE(typed, nullptr);
        for (const char* text : {"Typed", "../evil"}) {
            typed->setText(text);
            PressKey(typed, Qt::Key_Return);
            EXPECT_EQ(combo->count(), 2) << text;
            EXPECT_EQ(page->SelectedGroup(), "_base") << text;
            EXPECT_EQ(combo->currentText(), "_base") << text;
        }

        // A new group starts empty; the base list was saved on the way. Its name is typed
        // straight into the name dialog.
        page->SetNameAsker({});
        bool typedIntoName = false;
        QTimer::singleShot(0, [&] {
            auto* d = qobject_cast<CDlgNomeGruppo*>(QApplication::activeModalWidget());
            if (d == nullptr)
                return;
            QWidget* focus = d->focusWidget();
            typedIntoName = focus == d->GetDlgItem(CDlgNomeGruppo::kName);
            TypeText(focus, "Field");
            d->GetDlgItemAs<QAbstractButton>(ctl::kIdOk)->click();
        });
        page->NewGroup();
        EXPECT_TRUE(typedIntoName);
        EXPECT_EQ(page->SelectedGroup(), "Field");
        EXPECT_EQ(pc->Grid().GetRowCount(), 1);
        pc->SetDlgItemText(CDlgMem::kDescription, "Portable");
        pc->GetDlgItemAs<CNumEdit>(CDlgMem::kVfoA)->SetValue(14060000);
        pc->SaveRow(true);
        ASSERT_EQ(pc->Grid().GetRowCount(), 2);

        // Clone, then rename the clone: one file with the rows, the old one gone.
        page->SetNameAsker([&](const std::string&) { return std::optional<std::string>(answer); });
        answer = "Copy";
        page->CloneGroup();
        EXPECT_EQ(page->SelectedGroup(), "Copy");
        EXPECT_EQ(pc->Grid().GetItemText(1, 0), "Portable");
        answer = "Hills";
        page->RenameGroup();
        EXPECT_EQ(page->SelectedGroup(), "Hills");
        EXPECT_FALSE(fs::exists(f.folder / "Copy.MEM"));
        EXPECT_NE(testing_support::GetFile(f.folder / "Hills.MEM").find("Portable"),
                  std::string::npos);
        answer = "net";
        page->RenameGroup();
        EXPECT_EQ(f.boxes.back().text, "Group already exists <net>.");
        EXPECT_EQ(page->SelectedGroup(), "Hills");

        // Deleting ends on the base group with its own rows.
        f.yesNoAnswer = mb::kIdYes;
        page->DeleteGroup();
        EXPECT_FALSE(fs::exists(f.folder / "Hills.MEM"));
        EXPECT_EQ(page->SelectedGroup(), "_base");
        ASSERT_EQ(pc->Grid().GetRowCount(), 2);
        EXPECT_EQ(pc->Grid().GetItemText(1, 0), "Base");

        // The check shows and hides the PC memories window.
        page->GetDlgItemAs<QCheckBox>(CMem::kShowPc)->click();
        EXPECT_EQ(pc->isVisible(), page->GetDlgItemAs<QCheckBox>(CMem::kShowPc)->isChecked());
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
    EXPECT_EQ(testing_support::GetFile(f.folder / "MemPC.Dat"), base);
    EXPECT_NE(testing_support::GetFile(f.folder / "Field.MEM").find("Portable ~ 14.060.000"),
              std::string::npos);
    EXPECT_NE(f.Ini().find("Gruppo=_base"), std::string::npos);
    EXPECT_FALSE(fs::exists(f.folder / "Typed.MEM"));
    EXPECT_FALSE(fs::exists(f.folder.path + "/../evil.MEM"));
}

TEST(MemoryCsvWindows, ExportThenImportRestoresBothListsAndTheDialogChecksFirst)
{
    WindowFixture f;
    testing_support::PutFile(
        f.folder / "MemPC.Dat",
        "Calling ~ 145.500.000 ~ FM ~ OFF ~ 145.500.000 ~ FM ~ OFF ~ NOSPLIT ~ "
        "VFO A ~ NODUP ~ DEF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF "
        "~ 88,5 ~ \n");
    testing_support::PutFile(f.folder / "MemRTX.Dat", "03 ~ Rpt ~ 145.600.000 ~ FM ~ \n");
    const std::string pcCsv = f.folder / "pc-list.csv";
    const std::string radioCsv = f.folder / "radio-list.csv";
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        auto* pc = qobject_cast<CDlgMem*>(w.ToolWindow(CDlgMem::kTemplateId));
        ASSERT_NE(pc, nullptr);
        w.ShowToolWindow(R::kTemplateId);
        CDlgMemRadio& radio = RadioMem(w);
        std::string file;
        const auto asker = [&](bool, const std::string&) {
            return std::optional<CMemoryListWindow::CsvChoice>({file, {';', '.'}});
        };
        // A bare file name is the program folder's, whatever folder the program started in.
        {
            testing_support::TempDir elsewhere{"corvane-cwd"};
            const fs::path started = fs::current_path();
            fs::current_path(elsewhere.path);
            std::string offered;
            pc->SetCsvAsker([&](bool, const std::string& last) {
                offered = last;
                return std::optional<CMemoryListWindow::CsvChoice>({"MemIC706pc.csv", {';', '.'}});
            });
            pc->GetDlgItemAs<QAbstractButton>(CDlgMem::kExport)->click();
            fs::current_path(started);
            EXPECT_EQ(offered, f.folder / "MemIC706pc.csv");
            EXPECT_TRUE(fs::exists(f.folder / "MemIC706pc.csv"));
            EXPECT_FALSE(fs::exists(elsewhere / "MemIC706pc.csv"));
            EXPECT_EQ(f.boxes.back().text, "Memories exported in " + (f.folder / "MemIC706pc.csv"));
        }
        pc->SetCsvAsker(asker);
        radio.SetCsvAsker(asker);

        file = pcCsv;
        pc->GetDlgItemAs<QAbstractButton>(CDlgMem::kExport)->click();
        file = radioCsv;
        radio.GetDlgItemAs<QAbstractButton>(R::kExport)->click();
        EXPECT_EQ(f.boxes.back().text, "Memories exported in " + radioCsv);
        const std::string pcText = testing_support::GetFile(pcCsv);
        EXPECT_NE(pcText.find("Calling;145500000;FM;"), std::string::npos) << pcText;
        EXPECT_NE(pcText.find(";88.5;\n"), std::string::npos) << pcText;

        // The lists change; importing their files brings the rows back and saves them.
        pc->Grid().SetItemText(1, 1, "7.000.000");
        radio.Grid().SetItemText(3, 1, "Changed");
        f.yesNoAnswer = mb::kIdYes;
        file = pcCsv;
        pc->GetDlgItemAs<QAbstractButton>(CDlgMem::kImport)->click();
        file = radioCsv;
        // On line, the imported channels are offered to the radio: the sync dialog, cancelled.
        {
            AnswerWhenShown<CSincronizzaMem> cancel(
                [](CSincronizzaMem* d) { d->EndDialog(ctl::kIdCancel); });
            radio.GetDlgItemAs<QAbstractButton>(R::kImport)->click();
            EXPECT_TRUE(cancel.answered);
        }
        EXPECT_EQ(pc->Grid().GetItemText(1, 1), "145.500.000");
        EXPECT_EQ(pc->Grid().GetItemText(1, 10), "0");
        EXPECT_EQ(radio.Grid().GetItemText(3, 1), "Rpt");
        EXPECT_NE(testing_support::GetFile(f.folder / "MemPC.Dat").find("Calling ~ 145.500.000"),
                  std::string::npos);

        // A long import shows its progress; stopped there, the records before stay and are saved.
        std::string bulk = "Description;VFO-A;\n";
        for (int i = 0; i < 6000; ++i)
            bulk += "Bulk " + std::to_string(i) + ";7000000;\n";
        file = f.folder / "bulk.csv";
        testing_support::PutFile(file, bulk);
        // Over the main window, which it holds disabled with the list's window.
        bool heldDisabled = false;
        {
            AnswerWhenShown<CWorkProgressDlg> esc([&](CWorkProgressDlg* p) {
                heldDisabled = p->parentWidget() == &w && !w.isEnabled() && !pc->isEnabled();
                QCoreApplication::postEvent(
                    p, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
            });
            pc->GetDlgItemAs<QAbstractButton>(CDlgMem::kImport)->click();
            EXPECT_TRUE(esc.answered);
        }
        EXPECT_TRUE(heldDisabled);
        EXPECT_EQ(pc->Grid().GetRowCount(), 2 + 1000);
        EXPECT_TRUE(pc->isEnabled());
        EXPECT_TRUE(w.isEnabled());
        const std::string saved = testing_support::GetFile(f.folder / "MemPC.Dat");
        EXPECT_NE(saved.find("Bulk 999 ~ 7.000.000"), std::string::npos);
        EXPECT_EQ(saved.find("Bulk 1000 "), std::string::npos);

        // A missing file says so and changes nothing.
        file = f.folder / "none.csv";
        pc->GetDlgItemAs<QAbstractButton>(CDlgMem::kImport)->click();
        EXPECT_NE(f.boxes.back().text.find("Error in import memory from the file"),
                  std::string::npos);
        EXPECT_EQ(pc->Grid().GetRowCount(), 2 + 1000);

        // The options dialog refuses what cannot work before it closes.
        const auto runDialog = [&](bool import, const std::string& path, const char* fieldSep,
                                   const char* decimalSep) {
            CImportExport dialog(import, path);
            dialog.SetOwner(&w);
            QTimer::singleShot(0, [&] {
                dialog.SetDlgItemText(CImportExport::kFieldSeparator, fieldSep);
                dialog.SetDlgItemText(CImportExport::kDecimalSeparator, decimalSep);
                dialog.GetDlgItemAs<QAbstractButton>(CImportExport::kStart)->click();
                if (dialog.isVisible())
                    dialog.GetDlgItemAs<QAbstractButton>(ctl::kIdCancel)->click();
            });
            const int result = dialog.DoModal();
            return std::make_pair(result, dialog.File());
        };
        EXPECT_EQ(runDialog(false, pcCsv, ",", ",").first, ctl::kIdCancel);
        EXPECT_EQ(f.boxes.back().text,
                  "The character separator of fields and decimal must be different");
        EXPECT_EQ(runDialog(false, "a.csv", ";", ",").first, ctl::kIdCancel);
        EXPECT_EQ(f.boxes.back().text, "File name not valid");
        EXPECT_EQ(runDialog(true, f.folder / "absent", ";", ",").first, ctl::kIdCancel);
        EXPECT_EQ(f.boxes.back().text, "The file <" + f.folder.path + "/absent.csv> not exist");
        f.yesNoAnswer = mb::kIdNo;
        EXPECT_EQ(runDialog(false, f.folder / "pc-list.txt", ";", ",").first, ctl::kIdCancel);
        EXPECT_NE(f.boxes.back().text.find("exist.\n\nOverwrite ?"), std::string::npos);
        // A bare name is checked where it is read and written, in the program folder: there
        // the export's file exists, and the import's is found.
        {
            testing_support::TempDir elsewhere{"corvane-cwd"};
            const fs::path started = fs::current_path();
            fs::current_path(elsewhere.path);
            EXPECT_EQ(runDialog(false, "pc-list", ";", ",").first, ctl::kIdCancel);
            EXPECT_EQ(f.boxes.back().text, "The file <" + pcCsv + "> exist.\n\nOverwrite ?");
            EXPECT_EQ(runDialog(true, "pc-list.csv", ";", ","), std::make_pair(+ctl::kIdOk, pcCsv));
            fs::current_path(started);
        }
        // ".csv" goes on the file's name, never on a folder's.
        const auto [ok, chosen] = runDialog(false, f.folder / "v1.2/list", "\t", ",");
        EXPECT_EQ(ok, ctl::kIdOk);
        EXPECT_EQ(chosen, f.folder / "v1.2/list.csv");
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
    EXPECT_NE(f.Ini().find("Campi=\t"), std::string::npos) << f.Ini();
    // Kept relative to the program folder, so a moved folder still finds it.
    EXPECT_NE(f.Ini().find("LastFileCsv=radio-list.csv\n"), std::string::npos);
}
