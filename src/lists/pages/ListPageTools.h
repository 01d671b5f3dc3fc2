// What the list pages share: the drop-down of their entries, the radio's mode names in their mode
// boxes, and the file behind the list.
#pragma once

#include <QStringList>

#include <initializer_list>
#include <string>
#include <vector>

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

// The file behind a list page: one that was there but could not be read keeps its entries until
// the user changes the list, so an empty list never overwrites it unasked.
class CListFileState {
public:
    explicit CListFileState(std::string what) : what_(std::move(what)) {}

    // After a load; an unreadable file is said on the error output.
    void Loaded(const std::string& path, bool readFailed);
    void Changed() { changed_ = true; }
    // Rewrites the file with `text`; false when it may not (see above) or the write failed,
    // which shows message `failedMessage` with the reason.
    bool Save(const CLanguage& language, int failedMessage, const std::string& path,
              const std::string& text);

private:
    std::string what_;
    bool readFailed_ = false;
    bool changed_ = false;
};

}  // namespace lists
