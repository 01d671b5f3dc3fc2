// The PC memories window in the running program, against the simulated radio's driver: "Store"
// reads both VFOs into the editor; Save, replace and Delete change the rows and the file written
// at exit; "Active" sends the channel as the radio's trace shows it, also for the IC-718; the
// list prints to a PDF; a failed save keeps the old file, and a file not read in full is never
// saved over.
#include "WindowTestSupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QProcess>

#include "FlatButton.h"
#include "GridWidget.h"
#include "Ini.h"
#include "MainWindowIds.h"
#include "MemoriesWindow.h"
#include "NumEdit.h"
#include "PrintDialogs.h"
#include "ProgramFolder.h"
#include "ReadOnlyFolder.h"

using namespace wndtest;
using M = CDlgMem;

namespace {

const std::string kTenMetres =
    "Ten ~ 28.500.000 ~ USB ~ OFF ~ 28.400.000 ~ LSB ~ ON ~ NOSPLIT ~ VFO A ~ DUP- ~ 9.999 ~ "
    "ATT ~ ON ~ OFF ~ ON ~ OFF ~ OFF ~ OFF ~ ON ~ 88,5 ~ \n";

CDlgMem& Mem(CCorvaneDlg& w)
{
    auto* m = qobject_cast<CDlgMem*>(w.ToolWindow(M::kTemplateId));
    EXPECT_NE(m, nullptr);
    return *m;
}

void Click(CDlgMem& m, int id)
{
    m.GetDlgItemAs<QAbstractButton>(id)->click();
}

double Number(CDlgMem& m, int id)
{
    return m.GetDlgItemAs<CNumEdit>(id)->GetValue();
}

std::string Combo(CDlgMem& m, int id)
{
    return m.GetDlgItemAs<QComboBox>(id)->currentText().toStdString();
}

bool Shown(const WindowFixture& f, const std::string& start)
{
    for (const MessageBoxRequest& box : f.boxes)
        if (box.text.rfind(start, 0) == 0)
            return true;
    return false;
}

// Each frame, in this order, after `from` in the trace; the first one missing is named.
::testing::AssertionResult SentInOrder(const std::string& trace, size_t from,
                                       const std::vector<std::string>& frames)
{
    size_t at = from;
    for (const std::string& body : frames) {
        const std::string frame = "FE FE 58 E0 " + body + " FD";
        const size_t found = trace.find(frame, at);
        if (found == std::string::npos)
            return ::testing::AssertionFailure() << "no " << frame << " in order in\n"
                                                 << trace.substr(from);
        at = found + frame.size();
    }
    return ::testing::AssertionSuccess();
}
}  // namespace

TEST(MemoriesWindow, StoreReadsBothVfosAndSaveReplaceAndDeleteReachTheFile)
{
    WindowFixture f;
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        radio::CRadioController& c = w.Controller();
        ASSERT_TRUE(PumpUntil([&] { return c.State().frequencyKnown; }));
        c.SelectVfoB();
        c.SetFrequency(7050000);
        c.SetMode(radio::kLsb);
        c.SelectVfoA();
        c.SetFrequency(14200000);
        c.SetMode(radio::kUsb);
        c.SelectVfoA();

        QWidget* store = w.GetDlgItem(mainwnd::kStore);
        ASSERT_TRUE(store->isEnabled());
        qobject_cast<QAbstractButton*>(store)->click();
        CDlgMem& m = Mem(w);
        EXPECT_TRUE(m.isVisible());
        EXPECT_EQ(Number(m, M::kVfoA), 14200000);
        EXPECT_EQ(Combo(m, M::kModeA), "USB");
        EXPECT_EQ(Number(m, M::kVfoB), 7050000);
        EXPECT_EQ(Combo(m, M::kModeB), "LSB");
        EXPECT_EQ(Combo(m, M::kActiveVfo), "VFO A");
        EXPECT_TRUE(Shown(f, "Insert a description and press Save"));
        // The radio is left on VFO A.
        EXPECT_EQ(c.State().currentVfo, radio::kVfoA);

        CDataGrid& g = m.Grid();
        m.SetDlgItemText(M::kDescription, "Twenty");
        Click(m, M::kSave);
        ASSERT_EQ(g.GetRowCount(), 2);
        EXPECT_EQ(g.GetItemText(1, 1), "14.200.000");
        EXPECT_EQ(g.GetItemText(1, 5), "LSB");

        // The same description in other case: asked, No keeps the row, Yes replaces it.
        m.SetDlgItemText(M::kDescription, "twenty");
        m.GetDlgItemAs<CNumEdit>(M::kVfoA)->SetValue(14250000);
        Click(m, M::kSave);
        EXPECT_TRUE(Shown(f, "A memory with this description already exist, Replace ?"));
        EXPECT_EQ(g.GetItemText(1, 1), "14.200.000");
        f.yesNoAnswer = mb::kIdYes;
        m.SetDlgItemText(M::kDescription, "twenty");
        m.GetDlgItemAs<CNumEdit>(M::kVfoA)->SetValue(14250000);
        Click(m, M::kSave);
        ASSERT_EQ(g.GetRowCount(), 2);
        EXPECT_EQ(g.GetItemText(1, 0), "twenty");
        EXPECT_EQ(g.GetItemText(1, 1), "14.250.000");

        // A new one sorts in by description; Delete takes the focused row.
        Click(m, M::kNew);
        EXPECT_EQ(Number(m, M::kVfoA), 0);
        m.SetDlgItemText(M::kDescription, "Forty");
        m.GetDlgItemAs<CNumEdit>(M::kVfoA)->SetValue(7000000);
        Click(m, M::kSave);
        ASSERT_EQ(g.GetRowCount(), 3);
        EXPECT_EQ(g.GetItemText(1, 0), "Forty");
        EXPECT_EQ(g.GetFocusCell().row, 1);
        Click(m, M::kDelete);
        EXPECT_TRUE(Shown(f, "Delete the selected memory?"));
        ASSERT_EQ(g.GetRowCount(), 2);
        EXPECT_EQ(g.GetItemText(1, 0), "twenty");
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
    const std::string file = testing_support::GetFile(f.folder / "MemPC.Dat");
    EXPECT_EQ(
        file.rfind("twenty ~ 14.250.000 ~ USB ~ OFF ~ 7.050.000 ~ LSB ~ OFF ~ NOSPLIT ~ VFO A", 0),
        0u)
        << file;
    EXPECT_EQ(std::count(file.begin(), file.end(), '\n'), 1);
    // The focus went up to the header row with the deleted first row.
    EXPECT_NE(f.Ini().find("RigaCorrente=0"), std::string::npos) << f.Ini();
    EXPECT_NE(f.Ini().find("ModoOrdinamento=1"), std::string::npos);
}

TEST(MemoriesWindow, ActiveSendsTheChannelAndItsFunctionsAsTheModelHasThem)
{
    for (const int model : {2, 3}) {
        SCOPED_TRACE(model == 3 ? "IC-718" : "IC-706MKIIG");
        WindowFixture f;
        f.SetModel(model);
        testing_support::PutFile(f.folder / "MemPC.Dat", kTenMetres);
        const bool ran = f.Run([&](CCorvaneDlg& w) {
            ASSERT_TRUE(PumpUntil([&] { return w.Controller().State().frequencyKnown; }));
            ASSERT_TRUE(w.Controller().State().extendedFunctions);
            w.ShowToolWindow(M::kTemplateId);
            CDlgMem& m = Mem(w);
            CDataGrid& g = m.Grid();
            ASSERT_EQ(g.GetRowCount(), 2);
            EXPECT_EQ(Number(m, M::kDuplexValue), 9999);
            const bool nrAnf = model == 3;
            EXPECT_EQ(m.GetDlgItemText(M::kTone), nrAnf ? "NR" : "Tone");
            EXPECT_EQ(m.GetDlgItemText(M::kTsql), nrAnf ? "ANF" : "TSQL");
            EXPECT_EQ(g.GetItemText(0, 14), nrAnf ? "NR" : "Tone");
            EXPECT_EQ(g.GetItemText(0, 15), nrAnf ? "ANF" : "TSQL");
            EXPECT_EQ(m.GetDlgItem(M::kDuplexValue)->isVisible(), !nrAnf);
            EXPECT_EQ(m.GetDlgItem(M::kToneHz)->isVisible(), !nrAnf);

            const size_t from = f.Trace().size();
            Click(m, M::kActive);
            ASSERT_TRUE(PumpUntil(
                [&] { return f.Trace().find("16 12 01 FD", from) != std::string::npos; }));
            const std::string trace = f.Trace();
            EXPECT_TRUE(SentInOrder(trace, from,
                                    {"07 00", "07 01", "05 00 00 40 28 00", "06 00 02", "07 00",
                                     "05 00 00 50 28 00", "06 01 01", "0F 00", "07 00"}));
            if (nrAnf) {
                EXPECT_TRUE(SentInOrder(trace, from,
                                        {"11 20", "16 02 00", "16 22 00", "16 40 01", "16 41 00",
                                         "16 46 00", "16 47 00", "16 44 01", "16 12 01"}));
                EXPECT_EQ(trace.find("FE FE 58 E0 0D", from), std::string::npos);
                EXPECT_EQ(trace.find("FE FE 58 E0 0F 11", from), std::string::npos);
            } else {
                // 9999 kHz is a duplex the editor takes, so it is sent.
                EXPECT_TRUE(SentInOrder(
                    trace, from,
                    {"0D 90 99 09", "0F 11", "11 20", "16 02 00", "16 22 00", "16 42 01",
                     "16 43 00", "16 46 00", "16 47 00", "16 44 01", "16 12 01"}));
            }
            EXPECT_EQ(w.Controller().State().frequencyHz, 28500000);
            w.CloseProgram();
        });
        ASSERT_TRUE(ran);
    }
}

TEST(MemoriesWindow, PrintsEveryValueWholeAndAFailedSaveKeepsTheOldFile)
{
    WindowFixture f;
    const std::string calling = "Calling channel of the northern mountain repeater group";
    const std::string rows =
        kTenMetres + calling
        + " ~ 145.500.000 ~ FM ~ OFF ~ 430.125.000 ~ FM ~ OFF ~ NOSPLIT ~ VFO A ~ NODUP ~ DEF ~ "
          "OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ OFF ~ NO ~ \n";
    testing_support::PutFile(f.folder / "MemPC.Dat", rows);
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        w.ShowToolWindow(M::kTemplateId);
        CDlgMem& m = Mem(w);
        ASSERT_EQ(m.Grid().GetRowCount(), 3);
        // Command and check buttons are raised keys, as buttons look.
        for (const CFlatButton* b : m.findChildren<CFlatButton*>())
            EXPECT_FALSE(b->IsFlat()) << b->text().toStdString();
        // The columns on the screen are narrower than the description.
        m.Grid().SetColumnWidth(0, 40);
        const std::string pdf = f.folder / "list.pdf";
        {
            testing_support::PrintDialogs dialogs([&](const std::string&) { return pdf; });
            Click(m, M::kPrint);
            ASSERT_EQ(dialogs.Offered().size(), 1u);
            EXPECT_EQ(platform::BaseName(dialogs.Offered()[0]), "MemPC.pdf");
        }
        QProcess text;
        text.start("pdftotext", {"-layout", QString::fromStdString(pdf), "-"});
        ASSERT_TRUE(text.waitForFinished(60000));
        const std::string printed = text.readAllStandardOutput().toStdString();
        for (const std::string& whole :
             {std::string("List program Memories"), calling, std::string("145.500.000"),
              std::string("430.125.000"), std::string("28.500.000"), std::string("Page 1 of 1"),
              std::string("Description"), std::string("Filter-A"), std::string("Vfo-Act."),
              std::string("Val.Dup"), std::string("Att/Pre"), std::string("Comp.")})
            EXPECT_NE(printed.find(whole), std::string::npos) << whole << "\n" << printed;
        EXPECT_EQ(printed.find("\u2026"), std::string::npos) << printed;

        m.Grid().DeleteRow(1);
        {
            testing_support::ReadOnlyFolder readOnly(f.folder.path);
            EXPECT_FALSE(m.SaveMemories());
        }
        EXPECT_TRUE(Shown(f, "Impossible to save the memories : "));
        EXPECT_EQ(testing_support::GetFile(f.folder / "MemPC.Dat"), rows);
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
    // The save at exit takes the row away.
    EXPECT_EQ(testing_support::GetFile(f.folder / "MemPC.Dat").find("Calling"), std::string::npos);
}

TEST(MemoriesWindow, AListNotReadInFullIsNotSavedOverAtExit)
{
    WindowFixture f;
    fs::create_directory(f.folder / "MemPC.Dat");
    const bool ran = f.Run([&](CCorvaneDlg& w) {
        EXPECT_EQ(Mem(w).Grid().GetRowCount(), 1);
        w.CloseProgram();
    });
    ASSERT_TRUE(ran);
    // Said at the start, naming the file; the exit, with nothing changed, says nothing more.
    ASSERT_EQ(f.boxes.size(), 1u);
    EXPECT_EQ(f.boxes[0].style & mb::kIconError, mb::kIconError);
    EXPECT_TRUE(Shown(f, "Impossible to save the memories : " + (f.folder / "MemPC.Dat")));
    EXPECT_TRUE(fs::is_directory(f.folder / "MemPC.Dat"));
}
