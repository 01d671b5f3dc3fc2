#include "Help.h"

#include "FrameworkContext.h"
#include "Language.h"
#include "MessageBoxRequest.h"

#include <QDesktopServices>
#include <QFileInfo>

namespace framework {

QUrl HelpTopicUrl(int topic)
{
    const std::string& path = Language().HelpPath();
    if (path.empty())
        return {};
    QFileInfo file(QString::fromStdString(path));
    if (!file.isFile())
        return {};
    QUrl url = QUrl::fromLocalFile(file.absoluteFilePath());
    url.setFragment(QString::number(topic));
    return url;
}

bool OpenHelpTopic(int topic)
{
    const QUrl url = HelpTopicUrl(topic);
    const CLanguage& language = Language();
    if (url.isEmpty()) {
        const std::string& path = language.HelpPath();
        language.MessageBoxText(
            path.empty() ? language.Translate("No help file is named in the language file.")
                         : language.FormatText("The help file \"%s\" is missing.", {path}),
            mb::kOk | mb::kIconExclamation);
        return false;
    }
    if (!QDesktopServices::openUrl(url)) {
        language.MessageBoxText(
            language.FormatText("The help file \"%s\" could not be opened: no program to show "
                                "it was found.",
                                {language.HelpPath()}),
            mb::kOk | mb::kIconExclamation);
        return false;
    }
    return true;
}

}  // namespace framework
