// The handlers of the views: slice, phase and display selection, the background menu, the
// ROI bars and buttons of the detail view, the image clicks that choose what Copy copies,
// and Edit > Copy.
#include "SDIMain.h"

#include <QApplication>
#include <QClipboard>
#include <QPainter>

void TSDIAppForm::OnSliceClick(QObject *Sender)
{
    view().CurSlice = TagOf(Sender);
    // Only the phase montage shows every phase of the selected slice.
    if (view().DisplayMode == 1)
        RefreshMainImages();
    else
        RefreshDetail();
}

void TSDIAppForm::OnPhaseClick(QObject *Sender)
{
    view().CurPhase = TagOf(Sender);
    view().MapPhase = TagOf(Sender);
    // Only the slice montage shows every slice of the selected phase.
    if (view().DisplayMode == 0)
        RefreshMainImages();
    else
        RefreshDetail();
}

void TSDIAppForm::OnSLClick(QObject *)
{
    view().DisplayMode = 0;
    RadioButton37->setChecked(true); // back to "GA"; runs the map-kind handler if it was not checked
    RefreshMainImages();
}

void TSDIAppForm::OnPHClick(QObject *)
{
    view().DisplayMode = 1;
    RadioButton37->setChecked(true);
    RefreshMainImages();
}

void TSDIAppForm::OnMapSelet(QObject *)
{
    view().DisplayMode = 2;
    AnalyseProfiles();
    RefreshMainImages();
}

// Background > "黒": a black montage background.
void TSDIAppForm::K1Click(QObject *)
{
    view().BackgroundMode = 1;
    RefreshMainImages();
    K1->setChecked(true);
    K2->setChecked(false);
}

// Background > "バック": the menu colour as the montage background.
void TSDIAppForm::K2Click(QObject *)
{
    view().BackgroundMode = 0;
    RefreshMainImages();
    K2->setChecked(true);
    K1->setChecked(false);
}

void TSDIAppForm::OnSBRChange(QObject *)
{
    Label3->setCaption(QString::number(ScrollBarR->value()));
    RefreshDetail();
}

void TSDIAppForm::OnSBDChange(QObject *)
{
    view().RoiRadius = ScrollBarD->value();
    AnalyseProfiles();
    RefreshDetail();
}

// The ROI centre is the two bars' positions; the results always belong to the ROI on screen.
void TSDIAppForm::ScrollBarXChange(QObject *)
{
    AnalyseProfiles();
    RefreshCentreMarkers();
    RefreshDetail();
}

void TSDIAppForm::ScrollBarYChange(QObject *)
{
    AnalyseProfiles();
    RefreshCentreMarkers();
    RefreshDetail();
}

void TSDIAppForm::RBOnClick(QObject *)
{
    view().RoiVisible = 1;
    Label6->setCaption(QStringLiteral("on"));
    RefreshDetail();
}

void TSDIAppForm::RBOffClick(QObject *)
{
    view().RoiVisible = 0;
    Label6->setCaption(QStringLiteral("off"));
    RefreshDetail();
}

void TSDIAppForm::OnImage1MouseDown(QObject *, Qt::MouseButton, int, int)
{
    view().CopySource = 0;
    drawCopyFrames();
}

void TSDIAppForm::OnImage3MouseDpwn(QObject *, Qt::MouseButton, int, int)
{
    view().CopySource = 1;
    drawCopyFrames();
}

void TSDIAppForm::KC1Click(QObject *)
{
    // Before anything has been drawn into the chosen image there is nothing to copy, and
    // the clipboard keeps what it holds.
    const QImage &picture = view().CopySource == 1 ? Image3->picture() : Image1->picture();
    if (!picture.isNull())
        QApplication::clipboard()->setImage(picture);
}

// --- Copy frames ----------------------------------------------------------------------------

// A transparent layer over the whole client area that paints the two copy frames: the
// rectangle (Left - 1, Top - 1) - (Left + Width + 2, Top + Height + 2), far edges excluded,
// outlined with a pen 2 pixels wide centred on its edges, which is a band of two pixels just
// outside the image (for Image1 columns 6-7 and 550-551, rows 38-39 and 582-583); red around
// the image that Copy takes and in the menu colour around the other. It paints them whenever the window repaints, so they
// stay; it takes no mouse input and is never part of an image.
class CopyFrameOverlay : public QWidget {
public:
    CopyFrameOverlay(TSDIAppForm &form, QWidget *client) : QWidget(client), form_(form)
    {
        setObjectName(QStringLiteral("CopyFrames"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setGeometry(client->rect());
        raise();
        hide(); // until an image is first clicked
    }

    static QRect frameOf(const QWidget *image)
    {
        const QRect g = image->geometry();
        return QRect(QPoint(g.left() - 2, g.top() - 2), QPoint(g.left() + g.width() + 1, g.top() + g.height() + 1));
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QColor red(255, 0, 0);
        const QColor menu = QColor::fromRgb(form_.colorMenu());
        const bool image3 = form_.view().CopySource == 1;
        // The other image's frame first, in the menu colour, then the red one over it.
        band(painter, frameOf(image3 ? form_.Image1 : form_.Image3), menu);
        band(painter, frameOf(image3 ? form_.Image3 : form_.Image1), red);
    }

private:
    // The two outermost pixels of `outer` on every side.
    static void band(QPainter &painter, const QRect &outer, const QColor &colour)
    {
        const QRect inner = outer.adjusted(2, 2, -2, -2);
        painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), 2), colour);
        painter.fillRect(QRect(outer.left(), inner.bottom() + 1, outer.width(), 2), colour);
        painter.fillRect(QRect(outer.left(), inner.top(), 2, inner.height()), colour);
        painter.fillRect(QRect(inner.right() + 1, inner.top(), 2, inner.height()), colour);
    }

    TSDIAppForm &form_;
};

void TSDIAppForm::drawCopyFrames()
{
    if (!frameOverlay_)
        frameOverlay_ = new CopyFrameOverlay(*this, centralWidget());
    frameOverlay_->raise();
    frameOverlay_->show();
    frameOverlay_->update();
    repaintPending();
}
