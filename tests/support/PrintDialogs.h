// Answers the program's print dialogs as a user printing to files would: each dialog shown while
// this lives is noted with the file it offers and printed, to that file or to the one `choose`
// names for it.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QTimer>

#include <functional>
#include <string>
#include <vector>

namespace testing_support {

class PrintDialogs {
public:
    using Choose = std::function<std::string(const std::string& offered)>;
    explicit PrintDialogs(Choose choose = {}) : choose_(std::move(choose))
    {
        watch_.setInterval(10);
        QObject::connect(&watch_, &QTimer::timeout, [this] { Answer(); });
        watch_.start();
    }

    const std::vector<std::string>& Offered() const { return offered_; }
    const std::vector<std::string>& Printed() const { return printed_; }

private:
    void Answer()
    {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        auto* file = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("filename")) : nullptr;
        if (file == nullptr)
            return;
        // Never a real printer: the file entry ends the list.
        if (auto* printers = dialog->findChild<QComboBox*>(QStringLiteral("printers")))
            printers->setCurrentIndex(printers->count() - 1);
        offered_.push_back(file->text().toStdString());
        printed_.push_back(choose_ ? choose_(offered_.back()) : offered_.back());
        file->setText(QString::fromStdString(printed_.back()));
        dialog->accept();
    }

    Choose choose_;
    QTimer watch_;
    std::vector<std::string> offered_;
    std::vector<std::string> printed_;
};

}  // namespace testing_support
