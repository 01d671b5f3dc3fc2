// Printing the radio memories and keeping the window's place.
#include "RadioMemoriesWindow.h"

#include "GridWidget.h"
#include "MainWindowServices.h"
#include "MemoryListPrint.h"
#include "Profile.h"
#include "ProgramFolder.h"
#include "SettingsKeys.h"

#include <cstdio>

namespace {
constexpr const char* kPdfName = "MemRTX.pdf";
}  // namespace

bool CDlgMemRadio::PrintMemoriesToPdf(const std::string& file)
{
    return PrintMemoryListToPdf(services_, Grid(), windowTitle(), file);
}

void CDlgMemRadio::PrintMemories()
{
    PrintMemoryList(services_, *gridWidget_, windowTitle(),
                    platform::JoinPath(platform::DirName(path_), kPdfName));
}

void CDlgMemRadio::SaveWindowPos()
{
    if (isMinimized() || isMaximized())
        return;
    const QRect r = frameGeometry();
    Profile& registry = services_.Registry();
    if (!registry.WriteRect(settings::reg::MemorieRadioRect,
                            {r.top(), r.bottom() + 1, r.left(), r.right() + 1}))
        std::fprintf(stderr, "radio memories window place not saved: %s\n",
                     registry.LastError().c_str());
}
