// CFolderPicker: the folder chooser. A folder tree with an edit field above it: a chosen or typed
// folder that does not exist is offered for creation; an invalid one is refused with a message
// and the dialog stays open.
#pragma once

#include <QPointer>

#include <optional>
#include <string>

class QDialog;
class QLineEdit;
class QPushButton;
class QTreeView;
class QFileSystemModel;
class QWidget;

class CFolderPicker {
public:
    static constexpr int kEditId = 14148;

    // No initial path: the current folder is selected; an empty one selects nothing.
    CFolderPicker(std::string caption, std::string title, std::optional<std::string> initialPath);
    ~CFolderPicker();

    // 1 when a folder was accepted, else -1.
    int DoModal(QWidget* owner = nullptr);
    const std::string& GetPathName() const { return path_; }

    // What OK does with a path: checks it, offers to create a missing folder (message strings
    // 131, 132, 133 with the path as %1). True when the folder exists afterwards.
    bool MakeSurePathExists(const std::string& path);
    // OK with the edit's text: true (accepted) when the folder exists afterwards.
    bool Accept(const std::string& typed);

private:
    void OnSelectionChanged();
    void OnEdited();

    std::string caption_;
    std::string title_;
    std::optional<std::string> initialPath_;
    std::string path_;
    bool accepted_ = false;
    QDialog* dialog_ = nullptr;
    QLineEdit* edit_ = nullptr;
    QTreeView* tree_ = nullptr;
    QFileSystemModel* model_ = nullptr;
    QPushButton* ok_ = nullptr;
};
