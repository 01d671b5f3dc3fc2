#include "ProgramChooser.h"

#include "FrameworkContext.h"
#include "Language.h"
#include "StartupLauncher.h"

#include <QFileDialog>

namespace startup_programs {

namespace {
constexpr int kMsgInvalidPath = 171;
}

void ShowInvalidProgram(const std::string& path)
{
    const CLanguage& language = framework::Language();
    language.ShowMessage({language.Format(kMsgInvalidPath, {path}), {}, mb::kIconError});
}

std::optional<std::string> ChooseProgram(QWidget* owner)
{
    const QString chosen = QFileDialog::getOpenFileName(
        owner, {}, {},
        QString::fromStdString(framework::Language().Translate("Programs")) + " (*)");
    if (chosen.isEmpty())
        return std::nullopt;
    const std::string path = chosen.toStdString();
    if (!IsRunnableFile(path)) {
        ShowInvalidProgram(path);
        return std::nullopt;
    }
    return path;
}

}  // namespace startup_programs
