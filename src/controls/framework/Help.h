// F1 help: the language file names the help file; topic N opens that file at anchor N with the
// desktop's opener. A help file that is missing or cannot be opened is reported to the user.
#pragma once

#include <QUrl>

namespace framework {

// The address of topic N; empty when there is no help file.
QUrl HelpTopicUrl(int topic);
// True when the opener was asked to open the topic; otherwise the user was told why not.
bool OpenHelpTopic(int topic);

}  // namespace framework
