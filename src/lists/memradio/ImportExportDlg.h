// CImportExport (dialog 306): asks for the CSV file of an import or export and its two
// separators. Start checks them (different separators, a plausible name, an import file that
// opens, an export file that may be overwritten) before the dialog closes with OK.
#pragma once

#include "MemoryCsv.h"
#include "MyFontDialog.h"

#include <string>

// A CSV file named without a folder is the program folder's, whatever the working folder.
std::string CsvFileInProgramFolder(const std::string& file);
// The file as the list keeps it for the next run: relative to the program folder when inside it,
// so a moved folder still finds it.
std::string CsvFileAsStored(const std::string& path);

class CImportExport : public CMyFontDialog {
    Q_OBJECT
public:
    static constexpr unsigned kTemplateId = 306;
    static constexpr int kFieldSeparator = 1257;
    static constexpr int kDecimalSeparator = 1122;
    static constexpr int kFile = 1123;
    static constexpr int kBrowse = 1113;
    static constexpr int kStart = 1057;

    // `file` empty: the one the last run stored.
    CImportExport(bool import, std::string file);

    // After OK.
    const std::string& File() const { return file_; }
    lists::CsvDialect Dialect() const { return dialect_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

private:
    void OnBrowse();
    void OnStart();
    void FocusFile();

    bool import_;
    std::string file_;
    lists::CsvDialect dialect_;
};
