#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QWidget>

#include "SetupDialog.h"

namespace simdriver {

bool ShowSetupDialog(void* owner, const std::string& text)
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return false;
    QMessageBox::information(static_cast<QWidget*>(owner), QStringLiteral("Simulated CI-V radio"),
                             QString::fromStdString(text));
    return true;
}

}  // namespace simdriver
