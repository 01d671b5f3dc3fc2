// The memory list readers (the CSV import too) fed random bytes and random record lines: nothing
// crashes or reads outside a row, every row keeps its columns, and a list of plain fields survives
// a rewrite.
#include <gtest/gtest.h>

#include <random>

#include "MemoryChannel.h"
#include "MemoryCsv.h"
#include "MemoryListFile.h"

using namespace lists;

namespace {

std::string RandomBytes(std::mt19937& rng, std::size_t n)
{
    static const char kAlphabet[] = "~~~ +\r\n\t0123456789,.ONFSPLITDUPVabc";
    std::uniform_int_distribution<int> pick(0, 255);
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        const int v = pick(rng);
        s += v < 160 ? kAlphabet[v % (sizeof kAlphabet - 1)] : static_cast<char>(v);
    }
    return s;
}

// Printable fields without "~", blanks at their ends or a leading "+".
std::string RandomField(std::mt19937& rng)
{
    static const char kChars[] = "abcXYZ0123456789.,-/ ";
    std::uniform_int_distribution<int> len(0, 12), pick(0, sizeof kChars - 2);
    std::string s;
    for (int i = len(rng); i > 0; --i)
        s += kChars[pick(rng)];
    const std::size_t a = s.find_first_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, s.find_last_not_of(' ') - a + 1);
}

void ExpectWellFormed(const CTextTable& t, int columns)
{
    for (int r = 0; r < t.Rows(); ++r) {
        ASSERT_EQ(static_cast<int>(t.Row(r).size()), columns);
        ASSERT_EQ(static_cast<int>(MemoryChannel::FromCells(t.Row(r)).Cells().size()),
                  pcmem::kColumnCount);
    }
}

}  // namespace

TEST(MemoryFileFuzz, RandomInputNeverBreaksTheReaders)
{
    std::mt19937 rng(20261210);
    std::uniform_int_distribution<std::size_t> size(0, 600);
    for (int round = 0; round < 3000; ++round) {
        std::string text = RandomBytes(rng, size(rng));
        if (round % 3 == 0) {
            // Record-shaped lines with random fields and random channel numbers.
            text.clear();
            for (int line = 0; line < 8; ++line) {
                text += std::to_string(static_cast<int>(rng() % 130) - 10);
                for (int f = static_cast<int>(rng() % 30); f > 0; --f)
                    text += (rng() % 2 ? " ~ " : "~") + RandomBytes(rng, rng() % 6);
                text += rng() % 2 ? "\n" : "\r\n";
            }
        }
        // A cut anywhere, as a short read would leave it.
        const std::string cut = text.substr(0, text.empty() ? 0 : rng() % text.size());
        for (const std::string& input : {text, cut}) {
            CTextTable pc(pcmem::kColumnCount);
            ParsePcMemories(input, pc);
            ExpectWellFormed(pc, pcmem::kColumnCount);
            CTextTable radio(radiomem::kColumnCount);
            ResetRadioChannels(radio);
            ParseRadioMemories(input, radio);
            ASSERT_EQ(radio.Rows(), radiomem::kChannels);
            ExpectWellFormed(radio, radiomem::kColumnCount);
            // The same bytes as CSV files, quotes and all.
            const std::string csv = "\"" + input + "\n" + input;
            ImportCsv(csv, pc, PcCsvLayout(), {});
            ExpectWellFormed(pc, pcmem::kColumnCount);
            ImportCsv(csv, radio, RadioCsvLayout(), {',', '.'});
            ASSERT_EQ(radio.Rows(), radiomem::kChannels);
            ExpectWellFormed(radio, radiomem::kColumnCount);
        }
    }
}

TEST(MemoryFileFuzz, RandomPlainListsSurviveARewrite)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        CTextTable table(pcmem::kColumnCount);
        for (int rows = static_cast<int>(rng() % 20); rows > 0; --rows) {
            const int row = table.AppendRow();
            for (int col = 0; col < pcmem::kColumnCount; ++col)
                table.SetCell(row, col, RandomField(rng));
        }
        CTextTable back(pcmem::kColumnCount);
        ParsePcMemories(PcMemoriesText(table), back);
        ASSERT_EQ(back.Rows(), table.Rows());
        for (int r = 0; r < table.Rows(); ++r)
            ASSERT_EQ(back.Row(r), table.Row(r)) << PcMemoriesText(table);
    }
}
