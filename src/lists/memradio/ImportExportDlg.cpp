#include "ImportExportDlg.h"

#include "AsciiCase.h"
#include "CommandCodes.h"
#include "DialogTemplate.h"
#include "FrameworkContext.h"
#include "Ini.h"
#include "Language.h"
#include "ProgramFolder.h"
#include "SettingsKeys.h"
#include "ToolTipLoc.h"

#include <QFileDialog>
#include <QLineEdit>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

using namespace tpl;
using D = CImportExport;

// Shorter paths cannot hold a folder, a name and ".csv".
constexpr std::size_t kMinPathLength = 8;

const DialogTemplateRegistration kTemplate{DialogTemplate{
    D::kTemplateId, "Corvane - Import Memory",
    Column({Row({Control(ctl::kIdStatic, "STATIC", "Separator of fields"),
                 Control(D::kFieldSeparator, "EDIT", "", kNoTranslate, 3),
                 Control(ctl::kIdStatic, "STATIC", "Separator of decimals"),
                 Control(D::kDecimalSeparator, "EDIT", "", kNoTranslate, 3), Stretch()}),
            Row({Control(ctl::kIdStatic, "STATIC", "File"),
                 Stretched(Control(D::kFile, "EDIT", "", kNoTranslate, 40), 1),
                 Control(D::kBrowse, "BUTTON", "...")}),
            Row({Stretch(), Control(D::kStart, "BUTTON", "Start"),
                 Control(ctl::kIdCancel, "BUTTON", "Close")})})}};

char FirstChar(const std::string& text, char fallback)
{
    return text.empty() ? fallback : text.front();
}

}  // namespace

std::string CsvFileInProgramFolder(const std::string& file)
{
    if (file.empty() || file.front() == '/')
        return file;
    return platform::ResolvePathCase(platform::JoinPath(platform::ProgramFolder(), file));
}

std::string CsvFileAsStored(const std::string& path)
{
    const std::string folder = platform::ProgramFolder();
    if (path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0)
        return path.substr(folder.size());
    return path;
}

CImportExport::CImportExport(bool import, std::string file)
    : CMyFontDialog(kTemplateId), import_(import), file_(std::move(file))
{
}

bool CImportExport::OnInitDialog()
{
    const CLanguage& language = framework::Language();
    setWindowTitle(QString::fromStdString(language.LoadString(import_ ? 180 : 185)));
    const struct {
        int control;
        int stringId;
    } tips[] = {
        {kFieldSeparator, 1370},         {kDecimalSeparator, 1371}, {kFile, import_ ? 1373 : 1374},
        {kStart, import_ ? 1376 : 1377}, {kBrowse, 1375},           {ctl::kIdCancel, 1319}};
    for (const auto& tip : tips)
        if (QWidget* w = GetDlgItem(tip.control))
            ToolTips().AddToolId(w, tip.stringId);
    for (int id : {kFieldSeparator, kDecimalSeparator})
        if (auto* edit = GetDlgItemAs<QLineEdit>(id))
            edit->setMaxLength(1);
    if (const CIni* ini = framework::Ini()) {
        SetDlgItemText(kFieldSeparator, ini->GetString(settings::importexport::Campi));
        SetDlgItemText(kDecimalSeparator, ini->GetString(settings::importexport::Decimali));
        if (file_.empty())
            file_ = ini->GetString(settings::importexport::PathFile);
    }
    SetDlgItemText(kFile, file_);
    return CMyFontDialog::OnInitDialog();
}

bool CImportExport::OnCommand(int id, int code)
{
    if (code == ctl::kBnClicked && id == kBrowse) {
        OnBrowse();
        return true;
    }
    if (code == ctl::kBnClicked && id == kStart) {
        OnStart();
        return true;
    }
    return CMyFontDialog::OnCommand(id, code);
}

void CImportExport::OnBrowse()
{
    const QString current = QString::fromStdString(CsvFileInProgramFolder(GetDlgItemText(kFile)));
    const QString filter = QStringLiteral("CSV File (*.csv)");
    QFileDialog dialog(this, windowTitle(), current, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setAcceptMode(import_ ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(import_ ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        SetDlgItemText(kFile, dialog.selectedFiles().front().toStdString());
}

void CImportExport::OnStart()
{
    const CLanguage& language = framework::Language();
    const std::string field = GetDlgItemText(kFieldSeparator);
    const std::string decimal = GetDlgItemText(kDecimalSeparator);
    const char fieldChar = FirstChar(field, ';');
    const char decimalChar = FirstChar(decimal, ',');
    if (platform::AsciiLower(fieldChar) == platform::AsciiLower(decimalChar)) {
        language.MessageBox(1378, mb::kOk | mb::kIconError);
        return;
    }
    // A quote or a line end cannot separate anything.
    for (char c : {fieldChar, decimalChar})
        if (c == '"' || c == '\n' || c == '\r') {
            language.MessageBox(1378, mb::kOk | mb::kIconError);
            return;
        }
    if (CIni* ini = framework::Ini()) {
        ini->WriteString(settings::importexport::Decimali, std::string(1, decimalChar));
        ini->WriteString(settings::importexport::Campi, std::string(1, fieldChar));
    }
    std::string path = GetDlgItemText(kFile);
    // ".csv" replaces the name's own extension, never a part of a folder's name.
    if (path.size() > 1) {
        const std::size_t slash = path.find_last_of('/');
        const std::size_t dot = path.rfind('.');
        const bool nameHasDot =
            dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
        path = (nameHasDot ? path.substr(0, dot) : path) + ".csv";
    }
    // The name as typed must be plausible; every check of the file itself looks where the file
    // will be read or written.
    const bool tooShort = path.size() < kMinPathLength;
    path = CsvFileInProgramFolder(path);
    SetDlgItemText(kFile, path);
    if (tooShort || path.back() == '/' || std::filesystem::is_directory(path)) {
        language.MessageBox(186, mb::kOk | mb::kIconError);
        FocusFile();
        return;
    }
    if (import_) {
        std::FILE* probe = std::fopen(path.c_str(), "rb");
        if (probe == nullptr) {
            if (errno == ENOENT)
                language.ShowMessage(
                    {language.Format(187, {path}), "", mb::kOk | mb::kIconError, 0});
            else
                language.ShowMessage({language.FormatString1(184, std::strerror(errno)), "",
                                      mb::kOk | mb::kIconError, 0});
            FocusFile();
            return;
        }
        std::fclose(probe);
    } else {
        std::error_code ec;
        if (std::filesystem::exists(path, ec)
            && language.ShowMessage(
                   {language.Format(188, {path}), "", mb::kYesNo | mb::kIconQuestion, 0})
                   != mb::kIdYes) {
            FocusFile();
            return;
        }
    }
    file_ = path;
    dialect_ = {fieldChar, decimalChar};
    EndDialog(ctl::kIdOk);
}

void CImportExport::FocusFile()
{
    if (QWidget* w = GetDlgItem(kFile))
        w->setFocus(Qt::OtherFocusReason);
}
