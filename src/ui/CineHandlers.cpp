// The cine loop's buttons and speed bar, and the window's side of the loop: it prepares the
// frames with the window's own drawing routines and puts them on the image controls.
#include "SDIMain.h"

#include "CineLoop.h"
#include "EventLog.h"
#include "PlaneSet.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <optional>
#include <vector>

namespace {

class WindowCineHost : public CineHost {
public:
    explicit WindowCineHost(TSDIAppForm &form) : form_(form) { clock_.start(); }

    void beginPreparation() override
    {
        // Its range is 0..16 since the last load.
        form_.ProgressBar1->show();
        // The 16 planes the frames show, read from the volume in one pass.
        const ViewState &view = form_.view();
        planes_.gather(form_.data().study.volume, CineSteppedVariable(view.DisplayMode) == CineVariable::Slice,
                       view.CurSlice, view.CurPhase);
        preparation_.emplace("CinePreparation");
    }

    void prepareFrame(int k, bool withMap) override
    {
        // The 16 bull's-eye frames come from one analysis of each slice, drawn with the first.
        if (withMap && k == 0)
            form_.DrawBullseyeFrames(maps_);
        // Paints only (the progress bar's): a click waits for the playback, where the loop
        // takes it between frames.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        details_.emplace_back(form_.Image3->width(), form_.Image3->height());
        form_.DrawDetailImage(details_.back(), planes_.plane(k));
        form_.setProgress(k + 1);
    }

    void endPreparation() override
    {
        form_.ProgressBar1->hide();
        preparation_.reset(); // the wait before the first frame, in the event log
    }

    void showFrame(const Frame &frame) override
    {
        if (frame.redrawMap) {
            Bitmap scratch(form_.Image1->width(), form_.Image1->height());
            form_.DrawMapPanel(scratch);
            form_.Image1->setPicture(scratch);
        }
        if (frame.showPreparedMap && std::size_t(frame.k) < maps_.size())
            form_.Image1->setPicture(maps_[std::size_t(frame.k)]);
        form_.Image3->setPicture(details_[std::size_t(frame.k)]);
        form_.repaintPending();
    }

    uint32_t tickMs() override { return uint32_t(clock_.elapsed()); }

    void waitForEvents(uint32_t ms) override
    {
        // Sleeps in the event loop until the frame is due; a stop quits it at once.
        QEventLoop wait;
        QTimer::singleShot(std::chrono::milliseconds(ms), Qt::PreciseTimer, &wait, &QEventLoop::quit);
        QEventLoop *outer = form_.cineWait;
        form_.cineWait = &wait;
        if (form_.view().CineStopRequested == 0)
            wait.exec();
        form_.cineWait = outer;
    }

    void processPendingEvents() override { QCoreApplication::processEvents(); }

    void refreshDetail() override { form_.RefreshDetail(); }

private:
    TSDIAppForm &form_;
    QElapsedTimer clock_;
    std::vector<Bitmap> details_;
    std::vector<Bitmap> maps_;
    PlaneSet planes_;
    std::optional<EventLog::Section> preparation_;
};

} // namespace

void TSDIAppForm::OnMoveClick(QObject *)
{
    // "move" while a loop plays is ignored: the playing loop goes on.
    if (CineLoopRunning())
        return;
    WindowCineHost host(*this);
    RunCineLoop(view(), host);
}

void TSDIAppForm::OnStopClick(QObject *)
{
    requestCineStop();
}

void TSDIAppForm::OnSTTChange(QObject *)
{
    view().CineDelayMs = ScrollBarT->value();
}

void TSDIAppForm::requestCineStop()
{
    view().CineStopRequested = 1;
    if (cineWait)
        cineWait->quit();
}
