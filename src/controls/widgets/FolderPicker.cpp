#include "FolderPicker.h"

#include "CaptionWidth.h"
#include "ControlFactory.h"
#include "FolderPath.h"
#include "FrameworkContext.h"
#include "Language.h"
#include "MessageBoxRequest.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
constexpr int kFolderExistsNot = 131;
constexpr int kFolderNotValid = 132;
constexpr int kFolderCannotCreate = 133;

int Ask(int id, const std::string& path, unsigned style)
{
    const CLanguage& lang = framework::Language();
    MessageBoxRequest box;
    box.text = lang.FormatString1(id, path);
    box.style = style;
    return lang.ShowMessage(box);
}
}  // namespace

CFolderPicker::CFolderPicker(std::string caption, std::string title,
                             std::optional<std::string> initialPath)
    : caption_(std::move(caption)), title_(std::move(title)), initialPath_(std::move(initialPath))
{
}

CFolderPicker::~CFolderPicker() = default;

bool CFolderPicker::MakeSurePathExists(const std::string& path)
{
    if (!folderpath::IsValid(path)) {
        Ask(kFolderNotValid, path, mb::kIconExclamation);
        return false;
    }
    if (folderpath::Exists(path))
        return true;
    if (Ask(kFolderExistsNot, path, mb::kYesNo | mb::kIconQuestion) != mb::kIdYes)
        return false;
    if (folderpath::Create(path) != folderpath::kOk) {
        Ask(kFolderCannotCreate, path, mb::kIconExclamation);
        return false;
    }
    return true;
}

bool CFolderPicker::Accept(const std::string& typed)
{
    path_ = folderpath::Expand(typed);
    if (!MakeSurePathExists(path_)) {
        if (edit_)
            edit_->setFocus();
        return false;
    }
    accepted_ = true;
    if (dialog_)
        dialog_->done(1);
    return true;
}

void CFolderPicker::OnSelectionChanged()
{
    const QModelIndex idx = tree_->currentIndex();
    const QString p = idx.isValid() ? QDir::cleanPath(model_->filePath(idx)) : QString();
    const bool usable = p.startsWith('/');
    ok_->setEnabled(usable);
    if (usable) {
        edit_->setText(p);
        path_ = p.toStdString();
    }
}

void CFolderPicker::OnEdited()
{
    path_ = edit_->text().toStdString();
    ok_->setEnabled(!path_.empty());
}

int CFolderPicker::DoModal(QWidget* owner)
{
    // On the heap: the owner may be destroyed inside the dialog's event loop (or inside a box
    // that OK shows) and takes the dialog with it; one on the stack would be deleted twice.
    QPointer<QDialog> dlg = new QDialog(owner ? owner : framework::MainWindow());
    dialog_ = dlg;
    accepted_ = false;
    QObject::connect(dlg, &QObject::destroyed, [this] {
        dialog_ = nullptr;
        edit_ = nullptr;
        tree_ = nullptr;
        model_ = nullptr;
        ok_ = nullptr;
    });
    if (!caption_.empty()) {
        dlg->setWindowTitle(QString::fromStdString(caption_));
        FitCaptionWidth(*dlg);
    }
    auto* layout = new QVBoxLayout(dlg);
    if (!title_.empty()) {
        auto* title = new QLabel(QString::fromStdString(title_), dlg);
        // A translated text: shown as it is, never as markup.
        title->setTextFormat(Qt::PlainText);
        layout->addWidget(title);
    }
    edit_ = new QLineEdit(dlg);
    SetControlId(edit_, kEditId);
    layout->addWidget(edit_);
    model_ = new QFileSystemModel(dlg);
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QStringLiteral("/"));
    tree_ = new QTreeView(dlg);
    tree_->setModel(model_);
    for (int c = 1; c < model_->columnCount(); ++c)
        tree_->hideColumn(c);
    tree_->header()->hide();
    layout->addWidget(tree_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dlg);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setEnabled(false);
    layout->addWidget(buttons);

    const QString start =
        initialPath_ ? QString::fromStdString(*initialPath_) : QDir::currentPath();
    if (!start.isEmpty()) {
        const QModelIndex idx = model_->index(start);
        if (idx.isValid()) {
            tree_->setCurrentIndex(idx);
            tree_->scrollTo(idx);
        }
        edit_->setText(start);
        path_ = start.toStdString();
        ok_->setEnabled(true);
    }
    QObject::connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, dlg,
                     [this] { OnSelectionChanged(); });
    QObject::connect(edit_, &QLineEdit::textEdited, dlg, [this] { OnEdited(); });
    QObject::connect(buttons, &QDialogButtonBox::accepted, dlg, [this] {
        if (edit_)
            Accept(edit_->text().toStdString());
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, dlg, &QDialog::reject);
    dlg->resize(360, 420);
    dlg->exec();
    delete dlg.data();  // nothing when its owner took it already
    return accepted_ ? 1 : -1;
}
