// What the list pages share: the drop-down of their entries, the radio's mode names in their mode
// boxes, and the file behind the list.
#pragma once

#include <QStringList>

#include <initializer_list>
#include <string>
#include <vector>

#include "ListFile.h"

class CLanguage;
class QComboBox;
class QWidget;

namespace lists {

// Both without signalling a change, so the page's own handlers do not run.
void ShowListTexts(QComboBox* combo, const QStringList& texts);
void ShowListIndex(QComboBox* combo, int index);

// Refills the boxes with the radio's mode names when they differ from `copied` (then updated);
// each box keeps its choice where the new names hold it.
void FillModeBoxes(const std::vector<std::string>& modes, std::vector<std::string>& copied,
                   std::initializer_list<QComboBox*> boxes);

void FocusControl(QWidget* control);

// The file behind a list page. It is rewritten only when the user changed the list, and never
// when it was there but could not be read: what the list holds then is not what the file holds.
// The user is told so when it is read and again when a change is not saved.
class CListFileState {
public:
    // `what` names the list on the error output; `failedMessage` is the language message that
    // says the list is not saved, its "%1" the reason.
    CListFileState(std::string what, int failedMessage)
        : what_(std::move(what)), failedMessage_(failedMessage)
    {
    }

    // After a load.
    void Loaded(const CLanguage& language, const std::string& path, const ListFileResult& read);
    // A list that compares its contents says false when they are back to what the file holds.
    void Changed(bool changed = true) { changed_ = changed; }
    // Rewrites the file with `text` when the list changed; false when a change was not saved
    // (the file could not be read, or the write failed), which the user is told.
    bool Save(const CLanguage& language, const std::string& path, const std::string& text);
    // True, and the user is told, when the file could not be read: no change could be saved.
    bool RefusesChange(const CLanguage& language) const;

private:
    void Tell(const CLanguage& language, const std::string& reason) const;

    std::string what_;
    int failedMessage_;
    std::string unreadReason_;  // empty: the file was read, or there was none
    bool changed_ = false;
};

}  // namespace lists
