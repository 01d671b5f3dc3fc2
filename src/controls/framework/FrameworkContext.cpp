#include "FrameworkContext.h"

#include "Ini.h"
#include "Language.h"

#include <QPointer>
#include <QWidget>

namespace framework {
namespace {

struct Context {
    CLanguage* language = nullptr;
    CIni* ini = nullptr;
    QPointer<QWidget> mainWindow;
};

Context& Ctx()
{
    static Context context;
    return context;
}

}  // namespace

void SetLanguage(CLanguage* language)
{
    Ctx().language = language;
}
void SetIni(CIni* ini)
{
    Ctx().ini = ini;
}
void SetMainWindow(QWidget* window)
{
    Ctx().mainWindow = window;
}

CLanguage& Language()
{
    static CLanguage english;
    return Ctx().language ? *Ctx().language : english;
}

CIni* Ini()
{
    return Ctx().ini;
}

QWidget* MainWindow()
{
    return Ctx().mainWindow.data();
}

bool ToolTipsEnabled()
{
    const CIni* ini = Ini();
    return !ini || ini->GetInt(settings::setup::ToolTips) != 0;
}

}  // namespace framework
