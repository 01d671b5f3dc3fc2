#include "Language.h"

#include "AsciiCase.h"
#include "ProgramFolder.h"
#include "StringTable.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

unsigned char GroupOf(std::string_view key)
{
    return key.empty() ? 0 : static_cast<unsigned char>(platform::AsciiUpper(key.front()));
}

// Reads at most `limit` bytes (limit + 1 to notice a larger file). errno is kept on failure.
bool ReadBounded(int fd, std::size_t limit, std::string& out)
{
    out.clear();
    char buf[16384];
    while (out.size() <= limit) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0)
            break;
        out.append(buf, static_cast<std::size_t>(n));
    }
    return true;
}

// The first line of a file (up to 4 KiB), empty when it cannot be read.
std::string FirstLine(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    std::string text;
    char buf[4096];
    ssize_t n;
    do
        n = ::read(fd, buf, sizeof buf);
    while (n < 0 && errno == EINTR);
    ::close(fd);
    if (n <= 0)
        return {};
    text.assign(buf, static_cast<std::size_t>(n));
    return text.substr(0, text.find('\n'));
}

bool EndsWithLng(std::string_view name)
{
    return name.size() > 4 && platform::AsciiIEquals(name.substr(name.size() - 4), ".lng");
}

}  // namespace

CLanguage::LoadResult CLanguage::Load(const std::string& path, bool setHelp)
{
    std::string resolved = platform::ResolvePathCase(path);
    // Non-blocking: a FIFO under the name must not hold the program waiting for a writer.
    int fd = path.empty() ? -1 : ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        lastError_ =
            "Cannot open \"" + path + "\": " + platform::ErrorText(path.empty() ? ENOENT : errno);
        return kOpenFailed;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)) {
        ::close(fd);
        lastError_ = "Cannot read \"" + path + "\": not a file";
        return kReadFailed;
    }
    if (const int flags = ::fcntl(fd, F_GETFL); flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    std::string text;
    bool ok = ReadBounded(fd, kMaxFileSize, text);
    int err = errno;
    ::close(fd);
    if (!ok) {
        lastError_ = "Cannot read \"" + path + "\": " + platform::ErrorText(err);
        return kReadFailed;
    }
    if (text.size() > kMaxFileSize) {
        lastError_ = "\"" + path + "\" is too large for a language file";
        return kTooLarge;
    }
    language::FileContent content = language::ParseLanguageText(text);
    if (!content.signature) {
        lastError_ = "\"" + path + "\" is not a language file";
        return kNoSignature;
    }
    std::string help = content.helpFile;
    Replace(std::move(content), resolved);
    // A help name from the file must not lead out of the program folder.
    if (setHelp && !help.empty() && platform::IsPlainName(help))
        helpPath_ = platform::JoinPath(platform::ProgramFolder(), help);
    lastError_.clear();
    return kLoaded;
}

void CLanguage::Replace(language::FileContent content, const std::string& path)
{
    entries_ = std::move(content.entries);
    for (auto& g : groups_)
        g.clear();
    for (std::size_t i = 0; i < entries_.size(); ++i)
        groups_[GroupOf(entries_[i].key)].push_back(static_cast<std::uint32_t>(i));
    if (!content.helpFile.empty())
        helpFile_ = std::move(content.helpFile);
    loaded_ = !entries_.empty();
    loadedPath_ = loaded_ ? path : std::string();
}

std::string CLanguage::Translate(std::string_view text) const
{
    if (!loaded_ || text.empty())
        return std::string(text);
    std::string_view trimmed = language::Trim(text);
    for (std::uint32_t i : groups_[GroupOf(trimmed)]) {
        const language::FileEntry& e = entries_[i];
        if (e.key == trimmed && !e.translation.empty())
            return e.translation;
    }
    return std::string(trimmed);
}

std::string CLanguage::LoadString(int id) const
{
    const char* english = FindStringTableText(id);
    return english ? Translate(english) : std::string();
}

std::string CLanguage::SafePrintfFormat(std::string_view english) const
{
    std::string translated = Translate(english);
    if (textformat::PrintfSignature(translated) != textformat::PrintfSignature(english))
        return std::string(english);
    return translated;
}

std::string CLanguage::SafeInsertTemplate(std::string_view english) const
{
    std::string translated = Translate(english);
    if (textformat::InsertSignature(translated) != textformat::InsertSignature(english))
        return std::string(english);
    return translated;
}

std::string CLanguage::FormatMessage(int id, const std::vector<std::string_view>& inserts) const
{
    const char* english = FindStringTableText(id);
    if (!english)
        return {};
    return textformat::InsertText(SafeInsertTemplate(english), inserts);
}

std::string CLanguage::FormatString1(int id, std::string_view insert1) const
{
    return FormatMessage(id, {insert1});
}

std::string CLanguage::FormatString2(int id, std::string_view insert1,
                                     std::string_view insert2) const
{
    return FormatMessage(id, {insert1, insert2});
}

std::string CLanguage::Format(int id, std::initializer_list<FormatArg> args) const
{
    const char* english = FindStringTableText(id);
    if (!english)
        return {};
    std::string out;
    textformat::PrintfText(SafePrintfFormat(english), args, out);
    return out;
}

std::string CLanguage::FormatText(std::string_view english,
                                  std::initializer_list<FormatArg> args) const
{
    std::string out;
    textformat::PrintfText(SafePrintfFormat(english), args, out);
    return out;
}

int CLanguage::ShowMessage(MessageBoxRequest request) const
{
    if (sink_)
        return sink_(request);
    return (request.style & mb::kButtonsMask) == mb::kYesNo ? mb::kIdNo : mb::kIdOk;
}

int CLanguage::MessageBox(int id, unsigned style, int helpId) const
{
    return ShowMessage({LoadString(id), {}, style, helpId});
}

int CLanguage::MessageBoxText(std::string_view english, unsigned style) const
{
    return ShowMessage({Translate(english), {}, style, 0});
}

int CLanguage::MessageBoxCaption(int id, int captionId, unsigned style) const
{
    return ShowMessage({LoadString(id), LoadString(captionId), style, 0});
}

void CLanguage::TranslateDialog(IDialogTexts& dialog) const
{
    if (!loaded_)
        return;
    for (std::size_t i = 0; i < dialog.ControlCount(); ++i) {
        std::string text = dialog.ControlText(i);
        if (!text.empty())
            dialog.SetControlText(i, Translate(text));
    }
    dialog.SetCaption(Translate(dialog.Caption()));
}

bool CLanguage::ListLanguages(const std::string& folder)
{
    languageFiles_.clear();
    std::string dir = folder.empty() ? std::string("./") : folder;
    std::vector<std::string> names = platform::GlobFolder(dir, "*.lng");
    for (const std::string& name : names) {
        std::string path = platform::JoinPath(dir, name);
        if (language::HasSignature(FirstLine(path)))
            languageFiles_.push_back(path);
    }
    return !names.empty();
}

std::vector<std::string> CLanguage::LanguageNames() const
{
    std::vector<std::string> names;
    for (const std::string& path : languageFiles_) {
        std::string name = platform::BaseName(path);
        if (EndsWithLng(name))
            name.resize(name.size() - 4);
        names.push_back(std::move(name));
    }
    return names;
}

std::string CLanguage::GetListEntry(int index) const
{
    if (index < 0 || index >= ListCount())
        return {};
    return languageFiles_[static_cast<std::size_t>(index)];
}
