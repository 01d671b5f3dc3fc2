#include "MemoryListPrint.h"

#include "GridWidget.h"
#include "Language.h"
#include "MainWindowServices.h"
#include "MyFontDialog.h"
#include "ProgramFolder.h"

void PrintMemoryList(IMainWindowServices& services, CGridWidget& grid, const QString& caption,
                     const std::string& listFile)
{
    const CLanguage& language = services.Language();
    CDataGrid& g = grid.Grid();
    g.SetPrintTitle(language.Format(1120, {services.Window().windowTitle().toStdString()}));
    g.SetPrintFooterFormat(language.LoadString(1206));
    std::string name = platform::BaseName(listFile);
    if (const std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.erase(dot);
    grid.Print(caption, name);
}
