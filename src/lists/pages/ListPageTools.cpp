#include "ListPageTools.h"

#include "Language.h"
#include "ListFile.h"

#include <QComboBox>

#include <algorithm>
#include <cstdio>

namespace lists {

namespace {

// A message line holds no more of a system error text.
constexpr std::size_t kMaxErrorText = 255;

}  // namespace

void ShowListTexts(QComboBox* combo, const QStringList& texts)
{
    if (combo == nullptr)
        return;
    const QSignalBlocker quiet(combo);
    combo->clear();
    combo->addItems(texts);
}

void ShowListIndex(QComboBox* combo, int index)
{
    if (combo == nullptr)
        return;
    const QSignalBlocker quiet(combo);
    combo->setCurrentIndex(index);
}

void FillModeBoxes(const std::vector<std::string>& modes, std::vector<std::string>& copied,
                   std::initializer_list<QComboBox*> boxes)
{
    if (modes == copied)
        return;
    copied = modes;
    for (QComboBox* combo : boxes) {
        if (combo == nullptr)
            continue;
        const QString kept = combo->currentText();
        const QSignalBlocker quiet(combo);
        combo->clear();
        for (const std::string& name : modes)
            combo->addItem(QString::fromStdString(name));
        combo->setCurrentIndex(std::max(0, combo->findText(kept)));
    }
}

void FocusControl(QWidget* control)
{
    if (control != nullptr)
        control->setFocus(Qt::OtherFocusReason);
}

void CListFileState::Loaded(const CLanguage& language, const std::string& path,
                            const ListFileResult& read)
{
    changed_ = false;
    unreadReason_.clear();
    if (read.Ok())
        return;
    unreadReason_ = path + ": " + read.error.substr(0, kMaxErrorText)
                    + " - the file could not be read and is kept as it is";
    std::fprintf(stderr, "%s not read: %s\n", what_.c_str(), unreadReason_.c_str());
    Tell(language, unreadReason_);
}

bool CListFileState::Save(const CLanguage& language, const std::string& path,
                          const std::string& text)
{
    if (!changed_)
        return true;
    if (RefusesChange(language))
        return false;
    const ListFileResult written = WriteListFile(path, text);
    if (!written.Ok()) {
        Tell(language, written.error.substr(0, kMaxErrorText));
        return false;
    }
    changed_ = false;
    return true;
}

bool CListFileState::RefusesChange(const CLanguage& language) const
{
    if (unreadReason_.empty())
        return false;
    std::fprintf(stderr, "%s not saved: %s\n", what_.c_str(), unreadReason_.c_str());
    Tell(language, unreadReason_);
    return true;
}

void CListFileState::Tell(const CLanguage& language, const std::string& reason) const
{
    language.ShowMessage(
        {language.FormatString1(failedMessage_, reason), "", mb::kOk | mb::kIconError, 0});
}

}  // namespace lists
