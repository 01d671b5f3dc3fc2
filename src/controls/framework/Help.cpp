#include "Help.h"

#include "FrameworkContext.h"
#include "Language.h"

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
    QUrl url = HelpTopicUrl(topic);
    return !url.isEmpty() && QDesktopServices::openUrl(url);
}

}  // namespace framework
