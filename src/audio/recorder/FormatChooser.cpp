#include "FormatChooser.h"

#include "CaptionWidth.h"
#include "FormatTable.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

namespace audio {

int RunFormatChooser(QWidget* owner, const std::string& title,
                     const std::vector<WaveFormat>& offered, const WaveFormat& current,
                     WaveFormat& chosen)
{
    if (offered.empty())
        return -1;
    QDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("formatChooser"));
    dialog.setWindowTitle(QString::fromStdString(title));
    FitCaptionWidth(dialog);
    auto* layout = new QVBoxLayout(&dialog);
    auto* list = new QListWidget(&dialog);
    for (const WaveFormat& f : offered) {
        list->addItem(QString::fromStdString(FormatTagName(f) + "  " + FormatName(f)));
        if (f == current)
            list->setCurrentRow(list->count() - 1);
    }
    if (list->currentRow() < 0)
        list->setCurrentRow(0);
    layout->addWidget(list);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QObject::connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    dialog.resize(dialog.sizeHint().width(), 360);
    if (dialog.exec() != QDialog::Accepted)
        return -1;
    const int row = list->currentRow();
    if (row < 0 || row >= static_cast<int>(offered.size()))
        return -1;
    chosen = offered[static_cast<std::size_t>(row)];
    return 0;
}

}  // namespace audio
