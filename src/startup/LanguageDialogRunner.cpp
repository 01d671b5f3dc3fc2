#include "LanguageDialogRunner.h"

#include "CommandCodes.h"
#include "CorvaneApp.h"
#include "DlgLng.h"

bool CLanguageDialogRunner::Run(CCorvaneApp& app)
{
    CDlgLng dialog(app.Language(), app.Ini(), app.ProgramFolder());
    return dialog.DoModal() == ctl::kIdOk;
}
