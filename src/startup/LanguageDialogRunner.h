// The language dialog the start-up shows when no language loads: CDlgLng, run modally.
#pragma once

#include "StartupInterfaces.h"

class CLanguageDialogRunner : public ILanguageDialog {
public:
    bool Run(CCorvaneApp& app) override;
};
