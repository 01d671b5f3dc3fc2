// Printing the memories and keeping the window's place.
#include "MemoriesWindow.h"

#include "GridWidget.h"
#include "MainWindowServices.h"
#include "MemoryListPrint.h"
#include "Profile.h"
#include "ProgramFolder.h"
#include "SettingsKeys.h"

#include <cstdio>

namespace {
// Where the list goes when no printer is installed.
constexpr const char* kPdfName = "MemPC.pdf";
}  // namespace

bool CDlgMem::PrintMemoriesToPdf(const std::string& file)
{
    return PrintMemoryListToPdf(services_, Grid(), windowTitle(), file);
}

void CDlgMem::PrintMemories()
{
    PrintMemoryList(services_, *gridWidget_, windowTitle(),
                    platform::JoinPath(platform::DirName(path_), kPdfName));
}

void CDlgMem::SaveWindowPos()
{
    if (isMinimized() || isMaximized())
        return;
    const QRect r = frameGeometry();
    Profile& registry = services_.Registry();
    if (!registry.WriteRect(settings::reg::MemorieRect,
                            {r.top(), r.bottom() + 1, r.left(), r.right() + 1}))
        std::fprintf(stderr, "memories window place not saved: %s\n", registry.LastError().c_str());
}
