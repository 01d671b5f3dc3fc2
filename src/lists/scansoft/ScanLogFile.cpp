#include "ScanLogFile.h"

#include "Language.h"
#include "ScanFiles.h"

#include <cerrno>
#include <cstring>

namespace lists {

namespace {
constexpr int kMsgOpenFailed = 145;
constexpr int kMsgWriteFailed = 113;
constexpr std::size_t kMaxErrorText = 255;
}  // namespace

std::string ScanLogLine(const ScanLogEvent& e)
{
    return ScanLogLineText(e.when.tm_mday, e.when.tm_mon + 1, e.when.tm_year + 1900, e.when.tm_hour,
                           e.when.tm_min, e.when.tm_sec, e.position, e.signal, e.audioStart,
                           e.audioBytes);
}

bool CScanLogFile::Open(const std::string& path, bool append)
{
    Close();
    file_ = std::fopen(path.c_str(), append ? "ab" : "wb");
    if (file_ == nullptr) {
        language_.ShowMessage(
            {language_.LoadString(kMsgOpenFailed), "", mb::kOk | mb::kIconError, 0});
        return false;
    }
    return true;
}

void CScanLogFile::Write(const ScanLogEvent& event)
{
    if (file_ == nullptr)
        return;
    const std::string line = ScanLogLine(event);
    errno = 0;
    if (std::fwrite(line.data(), 1, line.size(), file_) == line.size() && std::fflush(file_) == 0)
        return;
    std::string reason = errno != 0 ? std::strerror(errno) : "write error";
    if (reason.size() > kMaxErrorText)
        reason.resize(kMaxErrorText);
    Close();
    language_.ShowMessage(
        {language_.FormatString1(kMsgWriteFailed, reason), "", mb::kOk | mb::kIconError, 0});
}

void CScanLogFile::Close()
{
    if (file_ != nullptr)
        std::fclose(file_);
    file_ = nullptr;
}

}  // namespace lists
