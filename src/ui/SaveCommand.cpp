// File > Save As: the CSV results file of the analysis, in the variant chosen with the "A"
// and "B" buttons of the top panel.
#include "SDIMain.h"

#include "EventLog.h"
#include "FileDialogs.h"
#include "MessageBox.h"
#include "ResultsFile.h"

#include <QFile>

void TSDIAppForm::OnRBSaveClick(QObject *Sender)
{
    view().ExportVariant = TagOf(Sender);
}

void TSDIAppForm::SaveItemClick(QObject *)
{
    // A playing cine loop stops once this handler has returned, also when the dialog is
    // cancelled.
    requestCineStop();
    std::unique_ptr<QFileDialog> dialog = CreateSaveDialog(this);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return;
    const QString path = dialog->selectedFiles().constFirst();
    if (path.isEmpty())
        return;
    SaveResults(path);
}

bool TSDIAppForm::SaveResults(const QString &path)
{
    EventLog::Section timing("SaveResults");
    ResultsFileSettings settings;
    settings.variant = view().ExportVariant;
    settings.curPhase = view().CurPhase;
    settings.analysis = analysisInputs();
    // The results are left describing the selected slice, whichever slices the file needed.
    std::string error;
    if (!SaveResultsFile(QFile::encodeName(path).toStdString(), data().study.volume, settings, data().profiles,
                         error)) {
        ShowMessageBox(this, QMessageBox::Warning, QStringLiteral("Corvista"),
                       QStringLiteral("結果ファイルを保存できませんでした。\n%1").arg(QString::fromLocal8Bit(error)));
        return false;
    }
    return true;
}
