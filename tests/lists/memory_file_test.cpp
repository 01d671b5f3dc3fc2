// The two memory list files: what a PC record and a radio record look like on disk, what comes
// back from them (also from files edited by hand or written elsewhere), failed writes, and both
// lists as CSV files and back.
#include <gtest/gtest.h>

#include <filesystem>

#include "MemoryChannel.h"
#include "MemoryCsv.h"
#include "MemoryListFile.h"
#include "ReadOnlyFolder.h"
#include "TempDir.h"

using namespace lists;
using testing_support::GetFile;
using testing_support::PutFile;
using testing_support::TempDir;

namespace {

MemoryChannel Repeater()
{
    MemoryChannel m;
    m.description = "Rpt~North";
    m.tuning.a = {145600000, "FM", false};
    m.tuning.b = {145000000, "FM", true};
    m.tuning.activeB = true;
    m.functions.duplexMinus = true;
    m.functions.duplexKHz = 9999;
    m.functions.preamp = true;
    m.functions.tone = true;
    m.functions.compressor = true;
    m.toneTenths = 885;
    return m;
}

MemoryChannel Plain()
{
    MemoryChannel m;
    m.tuning.a = {7050000, "LSB", false};
    m.tuning.b = {14200000, "USB", false};
    m.tuning.split = true;
    m.functions.attenuator = true;
    m.functions.agcFast = true;
    return m;
}

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

std::vector<std::vector<std::string>> AllRows(const CTextTable& t)
{
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < t.Rows(); ++r)
        rows.push_back(t.Row(r));
    return rows;
}

}  // namespace

TEST(PcMemoryFile, RecordsComeBackAsWrittenInEitherLineEnd)
{
    TempDir dir;
    CTextTable table(pcmem::kColumnCount);
    SetRowCells(table, table.AppendRow(), Repeater().Cells());
    SetRowCells(table, table.AppendRow(), Plain().Cells());
    // A "~" typed into a cell of the grid.
    table.SetCell(1, pcmem::kModeB, "U~SB");

    const std::vector<std::string> cells = Repeater().Cells();
    EXPECT_EQ(cells[pcmem::kDescription], "Rpt North");
    EXPECT_EQ(cells[pcmem::kVfoA], "145.600.000");
    EXPECT_EQ(cells[pcmem::kDuplex], "DUP-");
    EXPECT_EQ(cells[pcmem::kDuplexValue], "9.999");
    EXPECT_EQ(cells[pcmem::kAttPre], "PRE");
    EXPECT_EQ(cells[pcmem::kToneHz], "88,5");
    EXPECT_EQ(cells[pcmem::kActiveVfo], "VFO B");
    EXPECT_EQ(Plain().Cells()[pcmem::kDuplexValue], "DEF");
    EXPECT_EQ(Plain().Cells()[pcmem::kToneHz], "NO");
    EXPECT_EQ(Plain().Cells()[pcmem::kSplit], "SPLIT");

    const std::string path = dir / "MemPC.Dat";
    ASSERT_TRUE(WritePcMemories(path, table).Ok());
    const std::string text = GetFile(path);
    // The empty description is padded so the next field starts at column 7; LF only.
    EXPECT_NE(text.find("\n ~    7.050.000 ~ LSB ~ OFF ~ 14.200.000 ~ U SB ~ OFF ~ SPLIT ~ "),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 9), " ~ NO ~ \n");

    for (const std::string& variant : {text, WithCrLf(text)}) {
        PutFile(path, variant);
        CTextTable back(pcmem::kColumnCount);
        back.AppendRow();  // what was there goes
        ASSERT_EQ(ReadPcMemories(path, back).status, ListFileResult::Done);
        ASSERT_EQ(back.Rows(), 2);
        EXPECT_EQ(back.Row(0), cells);
        EXPECT_EQ(back.Cell(1, pcmem::kDescription), "");
        EXPECT_EQ(back.Cell(1, pcmem::kVfoA), "7.050.000");
        EXPECT_EQ(back.Cell(1, pcmem::kModeB), "U SB");
        // Written again, the file does not grow (no blank creeps into a field).
        EXPECT_EQ(PcMemoriesText(back), text);
    }

    const MemoryChannel read = MemoryChannel::FromCells(cells);
    EXPECT_EQ(read.tuning.a.hz, 145600000);
    EXPECT_TRUE(read.tuning.b.narrow);
    EXPECT_TRUE(read.tuning.activeB);
    EXPECT_TRUE(read.functions.duplexMinus);
    EXPECT_EQ(read.functions.duplexKHz, 9999);
    EXPECT_TRUE(read.functions.preamp);
    EXPECT_FALSE(read.functions.attenuator);
    EXPECT_TRUE(read.functions.tone);
    EXPECT_EQ(read.toneTenths, 885);
    EXPECT_EQ(read.Cells(), cells);
    EXPECT_EQ(MemoryChannel::FromCells(Plain().Cells()).Cells(), Plain().Cells());
}

TEST(PcMemoryFile, HandEditedLinesAreReadAsFarAsTheyMakeSense)
{
    std::string text = "no separator here\n\n";
    text += "  Lead ~ +14.200.000 ~ +USB ~ ON ~ +5.000 ~ AM ~ OFF ~ NOSPLIT ~ VFO A ~ DUP+ ~ +600";
    for (int i = 11; i < 25; ++i)
        text += " ~ f" + std::to_string(i);
    text += "\nShort ~ 3.500.000\nTrailing ~ 1 ~ 2 ~   \nch1;14074000\r\n";
    CTextTable t(pcmem::kColumnCount);
    UnreadLines unread;
    ParsePcMemories(text, t, &unread);
    ASSERT_EQ(t.Rows(), 3);
    // Lines without "~" give no row; they are kept, after the rows, as they were.
    EXPECT_EQ(unread, (UnreadLines{"no separator here", "ch1;14074000"}));
    EXPECT_TRUE(PcMemoriesText(t, unread).ends_with(" ~ \nno separator here\nch1;14074000\n"));
    EXPECT_EQ(t.Cell(0, pcmem::kDescription), "  Lead");
    EXPECT_EQ(t.Cell(0, pcmem::kVfoA), "14.200.000");
    EXPECT_EQ(t.Cell(0, pcmem::kModeA), "+USB");
    EXPECT_EQ(t.Cell(0, pcmem::kVfoB), "5.000");
    EXPECT_EQ(t.Cell(0, pcmem::kDuplexValue), "600");
    EXPECT_EQ(t.Cell(0, pcmem::kToneHz), "f19");
    // Every field is followed by a separator: text after the last one is none.
    EXPECT_EQ(t.Cell(1, pcmem::kVfoA), "");
    EXPECT_EQ(t.Cell(2, 2), "2");
    const std::string rewritten = PcMemoriesText(t);
    EXPECT_EQ(rewritten.find("+1"), std::string::npos);
    EXPECT_EQ(rewritten.find("+5"), std::string::npos);
    EXPECT_EQ(rewritten.find("+6"), std::string::npos);
    EXPECT_NE(rewritten.find("+USB"), std::string::npos);
}

TEST(RadioMemoryFile, ChannelsComeBackByNumberAndUnnamedOnesAreEmptied)
{
    CTextTable t(radiomem::kColumnCount);
    ResetRadioChannels(t);
    ASSERT_EQ(t.Rows(), radiomem::kChannels);
    EXPECT_EQ(t.Cell(0, 0), "01");
    EXPECT_EQ(t.Cell(98, 0), "99");
    SetRowCells(t, 4,
                {"05", "Club", "7.050.000", "LSB", "OFF", "7.060.000", "LSB", "OFF", "NOSPLIT",
                 "NODUP", "OFF", "OFF", " "});
    const std::string text = RadioMemoriesText(t);
    // Every channel is written; an empty cell leaves "~ ~".
    std::string empty = "02";
    for (int i = 0; i < radiomem::kColumnCount; ++i)
        empty += " ~";
    EXPECT_NE(text.find("\n" + empty + " \n"), std::string::npos) << text.substr(0, 200);
    EXPECT_NE(text.find("\n05 ~ Club ~ 7.050.000 ~ LSB ~ OFF ~ 7.060.000 ~ LSB ~ OFF ~ NOSPLIT ~ "
                        "NODUP ~ OFF ~ OFF ~ ~ \n"),
              std::string::npos);

    CTextTable back(radiomem::kColumnCount);
    ResetRadioChannels(back);
    back.SetCell(6, radiomem::kToneHz, "88,5");  // a stale tone of a channel the file leaves out
    for (const std::string& variant : {text, WithCrLf(text)}) {
        back.SetCell(6, radiomem::kToneHz, "88,5");
        ParseRadioMemories(variant, back);
        std::vector<std::string> expected = t.Row(4);
        expected[radiomem::kToneHz] = "";  // the blank of "no tone" reads as empty
        EXPECT_EQ(AllRows(back)[4], expected);
        EXPECT_EQ(back.Cell(6, radiomem::kToneHz), "");
        EXPECT_EQ(back.Cell(6, radiomem::kNumber), "07");
    }

    const std::string edited =
        "0 ~ Zero\n100 ~ Hundred\nabc ~ Letters\n"
        " 9 ~ First ~ 1\n"
        "09 ~ +Second ~ +14.000.000 ~ USB ~ +ON ~ +14.100.000 ~ USB ~ OFF ~ "
        "SPLIT ~ NODUP ~ +ON ~ OFF ~ 88,5\n";
    UnreadLines unread;
    ParseRadioMemories(edited, back, &unread);
    EXPECT_EQ(unread, (UnreadLines{"0 ~ Zero", "100 ~ Hundred", "abc ~ Letters"}));
    EXPECT_EQ(back.Cell(8, radiomem::kNumber), "09");
    EXPECT_EQ(back.Cell(8, radiomem::kDescription), "+Second");
    EXPECT_EQ(back.Cell(8, radiomem::kVfoA), "14.000.000");
    EXPECT_EQ(back.Cell(8, radiomem::kFilterA), "+ON");
    EXPECT_EQ(back.Cell(8, radiomem::kVfoB), "14.100.000");
    EXPECT_EQ(back.Cell(8, radiomem::kTone), "+ON");
    EXPECT_EQ(back.Cell(4, radiomem::kDescription), "");
    for (int row = 0; row < back.Rows(); ++row) {
        if (row != 8) {
            EXPECT_EQ(back.Cell(row, radiomem::kDescription), "") << row;
        }
    }
}

TEST(MemoryFiles, AFailedWriteKeepsTheOldFileAndAnUnreadableOneIsAFailure)
{
    TempDir dir;
    CTextTable pc(pcmem::kColumnCount);
    EXPECT_EQ(ReadPcMemories(dir / "MemPC.Dat", pc).status, ListFileResult::Missing);
    CTextTable radio(radiomem::kColumnCount);
    ResetRadioChannels(radio);
    radio.SetCell(0, radiomem::kDescription, "Kept");
    EXPECT_EQ(ReadRadioMemories(dir / "MemRTX.Dat", radio).status, ListFileResult::Missing);
    EXPECT_EQ(radio.Cell(0, radiomem::kDescription), "Kept");

    const std::string old = "Old ~ 7.000.000 ~ \n";
    PutFile(dir / "MemPC.Dat", old);
    PutFile(dir / "MemRTX.Dat", old);
    SetRowCells(pc, pc.AppendRow(), Plain().Cells());
    {
        testing_support::ReadOnlyFolder readOnly(dir.path);
        const ListFileResult pcWrite = WritePcMemories(dir / "MemPC.Dat", pc);
        const ListFileResult radioWrite = WriteRadioMemories(dir / "MemRTX.Dat", radio);
        EXPECT_EQ(pcWrite.status, ListFileResult::Failed);
        EXPECT_FALSE(pcWrite.error.empty());
        EXPECT_EQ(radioWrite.status, ListFileResult::Failed);
    }
    // A list past the size the reader takes is refused before anything is written.
    CTextTable huge(pcmem::kColumnCount);
    huge.SetCell(huge.AppendRow(), pcmem::kDescription, std::string(kMaxListFileBytes, 'x'));
    EXPECT_NE(WritePcMemories(dir / "MemPC.Dat", huge).error.find("more than the 64 MB"),
              std::string::npos);
    EXPECT_EQ(GetFile(dir / "MemPC.Dat"), old);
    EXPECT_EQ(GetFile(dir / "MemRTX.Dat"), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path),
                            std::filesystem::directory_iterator()),
              2);

    std::filesystem::create_directory(dir / "Group.MEM");
    const ListFileResult read = ReadPcMemories(dir / "Group.MEM", pc);
    EXPECT_EQ(read.status, ListFileResult::Failed);
    EXPECT_FALSE(read.error.empty());
    EXPECT_EQ(pc.Rows(), 0);
}

TEST(MemoryCsv, BothListsComeBackCellForCellWithAwkwardDescriptions)
{
    CTextTable pc(pcmem::kColumnCount);
    MemoryChannel quoted = Repeater();
    quoted.description = "Net; \"Sunday\"\nmorning";
    SetRowCells(pc, pc.AppendRow(), quoted.Cells());
    MemoryChannel plain = Plain();
    plain.description = "Plain";
    SetRowCells(pc, pc.AppendRow(), plain.Cells());
    std::vector<std::string> header(pcmem::kColumnCount, "Title");
    const std::string csv = ExportCsv(header, pc, PcCsvLayout(), {';', '.'});
    // Frequencies in whole hertz, the tone with the chosen decimal, a separator after each cell.
    EXPECT_NE(csv.find(";145600000;FM;OFF;145000000;"), std::string::npos) << csv;
    EXPECT_NE(csv.find(";88.5;\n"), std::string::npos) << csv;
    EXPECT_EQ(csv.rfind("\"Net; \"\"Sunday\"\"\nmorning\";", csv.find('\n') + 1),
              csv.find('\n') + 1);

    CTextTable back(pcmem::kColumnCount);
    EXPECT_EQ(ImportCsv(WithCrLf(csv), back, PcCsvLayout(), {';', '.'}), 2);
    ASSERT_EQ(back.Rows(), 2);
    // The list file holds a record per line: the line break comes back as a blank.
    std::vector<std::string> quotedRow = pc.Row(0);
    quotedRow[pcmem::kDescription] = "Net; \"Sunday\" morning";
    EXPECT_EQ(back.Row(0), quotedRow);
    // "DEF" is no number: the number field's text for 0.
    std::vector<std::string> plainRow = pc.Row(1);
    plainRow[pcmem::kDuplexValue] = "0";
    EXPECT_EQ(back.Row(1), plainRow);

    // A second import overwrites the row of the same description (in any case) and adds others.
    const std::string more =
        "h;\nPLAIN;3.500.000;\nNew~Row;123456789012;;;;;;;;;;;;;;;;;;1,5\n\n;7000;\n";
    EXPECT_EQ(ImportCsv(more, back, PcCsvLayout(), {';', '.'}), 2);
    ASSERT_EQ(back.Rows(), 3);
    EXPECT_EQ(back.Cell(1, pcmem::kVfoA), "3.500.000");
    EXPECT_EQ(back.Cell(1, pcmem::kModeA), "LSB");
    EXPECT_EQ(back.Cell(2, pcmem::kDescription), "New Row");
    EXPECT_EQ(back.Cell(2, pcmem::kVfoA), "") << "over nine digits";
    EXPECT_EQ(back.Cell(2, pcmem::kToneHz), "1,5");

    CTextTable radio(radiomem::kColumnCount);
    ResetRadioChannels(radio);
    radio.SetCell(6, radiomem::kDescription, "Seven");
    radio.SetCell(6, radiomem::kVfoA, "145.500.000");
    radio.SetCell(6, radiomem::kToneHz, "88,5");
    std::vector<std::string> titles(radiomem::kColumnCount, "T");
    const std::string radioCsv = ExportCsv(titles, radio, RadioCsvLayout(), {',', '.'});
    EXPECT_EQ(std::count(radioCsv.begin(), radioCsv.end(), '\n'), 100);
    CTextTable radioBack(radiomem::kColumnCount);
    ResetRadioChannels(radioBack);
    EXPECT_EQ(ImportCsv(radioCsv + "100,Beyond,\nx,No number,\n", radioBack, RadioCsvLayout(),
                        {',', '.'}),
              99);
    EXPECT_EQ(AllRows(radioBack), AllRows(radio));
}

TEST(MemoryCsv, ALineBreakInACellStaysOneRecordThroughTheListFile)
{
    TempDir dir("memory-csv");
    const std::string csv =
        "Description;VFO-A;Mode-A;\n"
        "One;7050000;LSB;\n"
        "\"Two\r\nlines desc\";14200000;\"U\nSB\";\n"
        "Three;21200000;USB;\n";
    CTextTable rows(pcmem::kColumnCount);
    EXPECT_EQ(ImportCsv(csv, rows, PcCsvLayout(), {';', ','}), 3);
    ASSERT_EQ(rows.Rows(), 3);
    EXPECT_EQ(rows.Cell(1, pcmem::kDescription), "Two lines desc");
    EXPECT_EQ(rows.Cell(1, pcmem::kModeA), "U SB");

    const std::string path = dir / "MemPC.Dat";
    ASSERT_TRUE(WritePcMemories(path, rows).Ok());
    CTextTable back(pcmem::kColumnCount);
    ASSERT_TRUE(ReadPcMemories(path, back).Ok());
    EXPECT_EQ(AllRows(back), AllRows(rows));
}

TEST(MemoryCsv, ALongImportFindsEachRowByItsKeyReportsProgressAndStopsWhenTold)
{
    constexpr int kRecords = 4500;
    CTextTable rows(pcmem::kColumnCount);
    // Two rows differing only in case: a search from the top finds the first.
    for (const char* twin : {"Twin", "TWIN"})
        rows.SetCell(rows.AppendRow(), pcmem::kDescription, twin);
    for (int i = 0; i < 2000; ++i)
        rows.SetCell(rows.AppendRow(), pcmem::kDescription, "Ch " + std::to_string(i));
    std::string csv = "Description;VFO-A;\ntwin;3500000;\n";
    for (int i = 0; i < kRecords; ++i)
        csv += "CH " + std::to_string(i) + ";" + std::to_string(7000000 + i) + ";\n";

    CTextTable all = rows;
    std::vector<std::pair<int, int>> reports;
    const int taken = ImportCsv(csv, all, PcCsvLayout(), {';', ','}, [&](int done, int total) {
        reports.emplace_back(done, total);
        return true;
    });
    EXPECT_EQ(taken, kRecords + 1);
    ASSERT_EQ(all.Rows(), 2 + kRecords);
    EXPECT_EQ(all.Cell(0, pcmem::kVfoA), "3.500.000");
    EXPECT_EQ(all.Cell(1, pcmem::kVfoA), "");
    EXPECT_EQ(all.Cell(2 + 1999, pcmem::kDescription), "Ch 1999");
    EXPECT_EQ(all.Cell(2 + 1999, pcmem::kVfoA), "7.001.999");
    EXPECT_EQ(all.Cell(2 + 2000, pcmem::kDescription), "CH 2000");
    EXPECT_EQ(all.Cell(2 + kRecords - 1, pcmem::kVfoA), "7.004.499");
    const std::vector<std::pair<int, int>> expected = {
        {1000, kRecords + 1}, {2000, kRecords + 1}, {3000, kRecords + 1}, {4000, kRecords + 1}};
    EXPECT_EQ(reports, expected);

    // Stopped at the first report: the records before it are in, nothing after.
    CTextTable stopped = rows;
    EXPECT_EQ(ImportCsv(csv, stopped, PcCsvLayout(), {';', ','}, [](int, int) { return false; }),
              1000);
    EXPECT_EQ(stopped.Rows(), 2 + 2000);
    EXPECT_EQ(stopped.Cell(2 + 998, pcmem::kVfoA), "7.000.998");
    EXPECT_EQ(stopped.Cell(2 + 999, pcmem::kVfoA), "");
}
