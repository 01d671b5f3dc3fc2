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

void CListFileState::Loaded(const std::string& path, bool readFailed)
{
    readFailed_ = readFailed;
    changed_ = false;
    if (readFailed)
        std::fprintf(stderr, "%s not read from %s\n", what_.c_str(), path.c_str());
}

bool CListFileState::Save(const CLanguage& language, int failedMessage, const std::string& path,
                          const std::string& text)
{
    if (readFailed_ && !changed_) {
        std::fprintf(stderr, "%s not saved: %s could not be read\n", what_.c_str(), path.c_str());
        return false;
    }
    const ListFileResult written = WriteListFile(path, text);
    if (!written.Ok()) {
        language.ShowMessage(
            {language.FormatString1(failedMessage, written.error.substr(0, kMaxErrorText)), "",
             mb::kOk | mb::kIconError, 0});
        return false;
    }
    readFailed_ = false;
    return true;
}

}  // namespace lists
