// File > Open: the one road by which a study enters the program.
#include "SDIMain.h"

#include "ColourTable.h"
#include "CountWindow.h"
#include "EventLog.h"
#include "FileDialogs.h"
#include "MessageBox.h"
#include "StudyReader.h"

#include <QFile>

namespace {
// The patient fields are bytes as stored, up to their first zero byte.
QString fieldText(const char *field)
{
    return QString::fromLatin1(field);
}
} // namespace

void TSDIAppForm::OpenItemClick(QObject *)
{
    std::unique_ptr<QFileDialog> dialog = CreateOpenDialog(this);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return;
    const QString path = dialog->selectedFiles().constFirst();
    // A dialog that returns no name is taken as cancelled.
    if (path.isEmpty())
        return;
    OpenStudy(path);
}

bool TSDIAppForm::OpenStudy(const QString &path)
{
    EventLog::Section timing("OpenStudy");
    ProgressBar1->setRange(0, 16);
    ProgressBar1->setValue(0);
    ProgressBar1->show();
    // The reader fills a staging study and swaps it in only when all 16 files are in, so a
    // set that cannot be read leaves the study, the views and every setting as they were.
    const LoadResult result = LoadStudySet(QFile::encodeName(path).toStdString(), data().study,
                                           [this](int filesCompleted) { setProgress(filesCompleted); });
    if (!result.ok) {
        ProgressBar1->hide();
        ShowMessageBox(this, QMessageBox::Warning, QStringLiteral("Corvista"),
                       QStringLiteral("スタディを読み込めませんでした。\n%1").arg(QString::fromLocal8Bit(result.message)));
        return false;
    }
    StatusBar->showMessage(path);

    const int32_t M = data().study.CountRange;
    const CountBarsAfterLoad bars = CountBarsForStudy(M);
    Label1->setCaption(QString::number(bars.upperCaption));
    Label2->setCaption(QString::number(bars.lowerCaption));
    if (view().PercentScale == 1) {
        // The bars carry the bull's-eye's percent limits: the new study's count window goes
        // where percent mode keeps it, and comes back when percent mode is left.
        int32_t *set = view().CountScaleSet;
        set[0] = bars.barMaximum;
        set[1] = 0;
        set[2] = bars.barMaximum;
        set[3] = 0;
        set[4] = bars.maxPosition;
        set[5] = bars.minPosition;
    } else {
        // setValue on these bars runs no handler: theirs answer the user's scrolling only.
        ScrollBarMax->setRange(0, bars.barMaximum);
        ScrollBarMin->setRange(0, bars.barMaximum);
        ScrollBarMax->setValue(bars.maxPosition);
        ScrollBarMin->setValue(bars.minPosition);
    }
    Label4->setCaption(fieldText(data().study.PatientId));
    Label5->setCaption(fieldText(data().study.PatientName));

    Bitmap image1(Image1->width(), Image1->height());
    Bitmap image2(Image2->width(), Image2->height());
    Bitmap image3(Image3->width(), Image3->height());
    Bitmap image4(Image4->width(), Image4->height());
    Bitmap image5(Image5->width(), Image5->height());
    // The count images read the colour table, which the count scale builds; in percent mode
    // the bar shows the percent scale, so the table is built here for them.
    BuildColourTable(data().colourTable);
    DrawColourBar(image2);
    DrawDetailImage(image3);
    DrawCentreMarkerX(image4);
    DrawCentreMarkerY(image5);
    AnalyseProfiles();
    // In map display Image1 shows the map panel of the new study, drawn from its analysis.
    if (view().DisplayMode == 2)
        DrawMapPanel(image1);
    else
        DrawMontage(image1);

    Image1->setPicture(image1);
    Image2->setPicture(image2);
    Image3->setPicture(image3);
    Image4->setPicture(image4);
    Image5->setPicture(image5);
    ProgressBar1->hide();
    RevealControls();
    repaintPending();
    return true;
}
