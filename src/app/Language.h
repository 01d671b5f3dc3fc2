// CLanguage: the language table. Maps the program's English texts to the texts of the language
// file the user chose; without a loaded file every lookup gives the English text.
//
// Language files are outside input: malformed lines are skipped, and a translation is used as a
// format only when its conversions are those of the English text (else the English text is
// used), so no file and no user text ever acts as a format. A failed load keeps the table that
// was in force and leaves the reason in LastError().
#pragma once

#include "LanguageFile.h"
#include "MessageBoxRequest.h"
#include "TextFormat.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The texts of a dialog, for TranslateDialog: its caption and the texts of its child controls.
class IDialogTexts {
public:
    virtual ~IDialogTexts() = default;
    virtual std::size_t ControlCount() const = 0;
    virtual std::string ControlText(std::size_t index) const = 0;
    virtual void SetControlText(std::size_t index, const std::string& text) = 0;
    virtual std::string Caption() const = 0;
    virtual void SetCaption(const std::string& text) = 0;
};

class CLanguage {
public:
    enum LoadResult : int {
        kLoaded = 0,  // also for a file without entries (the table is then English)
        kNoSignature = 1,
        kOpenFailed = 2,
        kReadFailed = 3,
        kTooLarge = 4,
    };
    // Larger files are refused rather than read.
    static constexpr std::size_t kMaxFileSize = 8u << 20;

    CLanguage() = default;

    // Loads a language file. On success the table is replaced (a file with no entries makes it
    // English); with setHelp, a HELP= name that stays inside the program folder becomes the help
    // file path. On failure nothing changes.
    LoadResult Load(const std::string& path, bool setHelp);

    // The translation of a text, or the text itself: unchanged when no table is loaded or the
    // text is empty, otherwise trimmed.
    std::string Translate(std::string_view text) const;

    // The translated text of a string id; empty when the id has no string.
    std::string LoadString(int id) const;
    std::string GetString(int id) const { return LoadString(id); }

    // "%1".."%99" templates of a string id (message-format style). Inserts are plain text.
    std::string FormatString1(int id, std::string_view insert1) const;
    std::string FormatString2(int id, std::string_view insert1, std::string_view insert2) const;
    std::string FormatMessage(int id, const std::vector<std::string_view>& inserts) const;

    // printf-style: the translated text of the id, or the English one when the translation's
    // conversions differ from it.
    std::string Format(int id, std::initializer_list<FormatArg> args) const;
    // The same with an English text from the code in place of an id.
    std::string FormatText(std::string_view english, std::initializer_list<FormatArg> args) const;

    // The format to use for an English text: its translation when that converts the same kinds
    // of arguments in the same order, else the English text.
    std::string SafePrintfFormat(std::string_view english) const;
    // The same for "%1" templates: the translation must use the same insert numbers.
    std::string SafeInsertTemplate(std::string_view english) const;

    // Message boxes. Without a sink nothing is shown and the answer is OK for an OK box and No
    // for a Yes/No box.
    void SetMessageBoxSink(MessageBoxSink sink) { sink_ = std::move(sink); }
    int MessageBox(int id, unsigned style, int helpId = 0) const;
    int MessageBoxText(std::string_view english, unsigned style) const;
    // A box whose caption is a string id too (the list windows' "ATTENTION" and "ERROR").
    int MessageBoxCaption(int id, int captionId, unsigned style) const;
    // Shows an already built (translated) text.
    int ShowMessage(MessageBoxRequest request) const;

    // Translates every control text and then the caption; does nothing when no table is loaded.
    void TranslateDialog(IDialogTexts& dialog) const;

    // The valid language files of a folder (names matched ignoring case, sorted): full paths.
    // True when at least one "*.lng" file was found (valid or not).
    bool ListLanguages(const std::string& folder);
    // File names without folder and ".lng", in list order.
    std::vector<std::string> LanguageNames() const;
    // Full path of list entry `index`, empty outside the list.
    std::string GetListEntry(int index) const;
    int ListCount() const { return static_cast<int>(languageFiles_.size()); }

    bool IsLoaded() const { return loaded_; }
    int EntryCount() const { return static_cast<int>(entries_.size()); }
    // The last file loaded successfully (empty when none or when it held no entries).
    const std::string& GetFilePath() const { return loadedPath_; }
    // Name from the HELP= line of the last successful load, and the full help path set by it.
    const std::string& HelpFile() const { return helpFile_; }
    const std::string& HelpPath() const { return helpPath_; }
    // Why the last Load failed; empty after a success.
    const std::string& LastError() const { return lastError_; }

private:
    void Replace(language::FileContent content, const std::string& path);

    std::vector<language::FileEntry> entries_;
    // Positions of the entries per upper-cased first byte, in file order (all runs of a letter).
    std::array<std::vector<std::uint32_t>, 256> groups_;
    std::vector<std::string> languageFiles_;
    std::string loadedPath_;
    std::string helpFile_;
    std::string helpPath_;
    std::string lastError_;
    bool loaded_ = false;
    MessageBoxSink sink_;
};
