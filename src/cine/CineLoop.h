// The cine loop: the 16 frames of the detail view (the slices of the selected phase, or the
// phases of the selected slice) prepared first, then shown one after the other at the speed
// of the speed bar until a stop is requested, and the view state restored at the end.
// The window implements CineHost; the loop itself knows nothing of widgets, so it is tested
// with a host of the test's own.
#pragma once

#include "ViewState.h"

#include <cstdint>

// Which view-state variable the frames step.
enum class CineVariable { Slice, Phase };

// The slice montage steps the slices; the phase montage and the map display step the phases.
CineVariable CineSteppedVariable(int displayMode);

// Whether a playback frame draws the map panel anew for its phase (the single-phase graph
// kinds in map display), or shows a prepared bull's-eye frame (BI in map display). The
// montages keep their picture in Image1 whatever the map kind.
bool CineRedrawsMap(int displayMode, int mapKind);
bool CineUsesPreparedMap(int displayMode, int mapKind);

class CineHost {
public:
    virtual ~CineHost() = default;

    // Preparation: begin (show the progress bar), then frame k = 0..15 with the view state
    // already stepped to it (draw the detail frame, and the bull's-eye frame when
    // `withMap`), then end (hide the progress bar).
    virtual void beginPreparation() = 0;
    virtual void prepareFrame(int k, bool withMap) = 0;
    virtual void endPreparation() = 0;

    // What one playback frame puts on the screen.
    struct Frame {
        int k;               // the prepared detail frame to show
        bool redrawMap;      // draw the map panel anew (the view state's CurPhase is already k)
        bool showPreparedMap; // show the bull's-eye frame prepared for k
    };
    virtual void showFrame(const Frame &frame) = 0;

    // A millisecond tick counter that may wrap.
    virtual uint32_t tickMs() = 0;
    // Handles the events that arrive within `ms` milliseconds, sleeping while none come,
    // and returns early once a stop has been requested. Never spins.
    virtual void waitForEvents(uint32_t ms) = 0;
    // Handles every pending event and returns.
    virtual void processPendingEvents() = 0;

    // After the restore: redraws the detail view (and in map display the analysis and the
    // map panel) from the restored state.
    virtual void refreshDetail() = 0;
};

// Runs the whole loop on `view`: returns after a stop, with the stepped variable, MapPhase
// and (where the loop set it for a map frame) CurPhase back at the values they had. A loop started while another one runs (from a
// handler inside the other's event processing) returns at once without touching anything.
void RunCineLoop(ViewState &view, CineHost &host);

// True while a loop runs.
bool CineLoopRunning();
