#include "CineLoop.h"

namespace {
// One loop at a time: the program has one user-interface thread.
bool running = false;

int &steppedValue(ViewState &view, CineVariable variable)
{
    return variable == CineVariable::Slice ? view.CurSlice : view.CurPhase;
}

struct RunningFlag {
    RunningFlag() { running = true; }
    ~RunningFlag() { running = false; }
};
} // namespace

CineVariable CineSteppedVariable(int displayMode)
{
    return displayMode == 0 ? CineVariable::Slice : CineVariable::Phase;
}

bool CineRedrawsMap(int displayMode, int mapKind)
{
    if (displayMode != 2)
        return false;
    switch (mapKind) {
    case MapG1:
    case MapC1:
    case MapB1:
    case MapA1:
    case MapW1:
    case MapD1:
        return true;
    default:
        return false;
    }
}

bool CineUsesPreparedMap(int displayMode, int mapKind)
{
    return displayMode == 2 && mapKind == MapBI;
}

bool CineLoopRunning()
{
    return running;
}

void RunCineLoop(ViewState &view, CineHost &host)
{
    if (running)
        return;
    RunningFlag flag;

    // The loop remembers the variable it steps, so a display mode changed while it plays
    // cannot make it restore the other one.
    const CineVariable variable = CineSteppedVariable(view.DisplayMode);
    const int savedIndex = steppedValue(view, variable);
    view.MapPhase = view.CurPhase;
    const int savedMapPhase = view.MapPhase;
    const int savedPhase = view.CurPhase;
    bool phaseSet = false;
    view.CineStopRequested = 0;

    const bool preparedMaps = CineUsesPreparedMap(view.DisplayMode, view.MapKind);
    host.beginPreparation();
    for (int k = 0; k < 16; ++k) {
        steppedValue(view, variable) = k;
        if (preparedMaps)
            view.MapPhase = k;
        host.prepareFrame(k, preparedMaps);
    }
    host.endPreparation();

    for (int k = 0;; k = (k + 1) % 16) {
        // The wait counts from the start of the frame. The difference of two readings is
        // right across the counter's wrap, so no frame loses its wait there.
        const uint32_t start = host.tickMs();
        for (;;) {
            if (view.CineStopRequested != 0)
                break;
            const uint32_t delay = view.CineDelayMs > 0 ? uint32_t(view.CineDelayMs) : 0;
            const uint32_t elapsed = host.tickMs() - start;
            if (elapsed >= delay)
                break;
            host.waitForEvents(delay - elapsed);
        }
        const CineHost::Frame frame{k, CineRedrawsMap(view.DisplayMode, view.MapKind),
                                    preparedMaps && CineUsesPreparedMap(view.DisplayMode, view.MapKind)};
        if (frame.redrawMap) {
            view.CurPhase = k;
            phaseSet = variable != CineVariable::Phase;
        }
        host.showFrame(frame);
        host.processPendingEvents();
        if (view.CineStopRequested != 0)
            break;
    }

    steppedValue(view, variable) = savedIndex;
    if (phaseSet)
        view.CurPhase = savedPhase;
    view.MapPhase = savedMapPhase;
    host.refreshDetail();
}
