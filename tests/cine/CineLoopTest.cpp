// The cine loop's logic with a host of the test's own: which variable the frames step, what
// each frame shows, the wait before each frame, the stop and the restore.
#include "CineLoop.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

// Records what the loop asks for. Time is simulated: waiting advances the clock by the time
// asked for, and `onEvents` plays the part of the user's clicks while events are handled.
class FakeHost : public CineHost {
public:
    explicit FakeHost(ViewState &view) : view_(view) {}

    void beginPreparation() override { events.push_back("begin"); }
    void prepareFrame(int k, bool withMap) override
    {
        prepared.push_back({view_.CurSlice, view_.CurPhase, view_.MapPhase, withMap});
        (void)k;
        if (stopDuringPreparation && k == 3)
            view_.CineStopRequested = 1;
    }
    void endPreparation() override { events.push_back("end"); }
    void showFrame(const Frame &frame) override
    {
        shown.push_back(frame);
        shownPhase.push_back(view_.CurPhase);
        frameTimes.push_back(now);
    }
    uint32_t tickMs() override { return now; }
    void waitForEvents(uint32_t ms) override
    {
        waits.push_back(ms);
        now += ms;
        if (onEvents)
            onEvents();
    }
    void processPendingEvents() override
    {
        now += 1; // handling the frame's events takes a millisecond
        if (onEvents)
            onEvents();
    }
    void refreshDetail() override
    {
        refreshed.push_back({view_.CurSlice, view_.CurPhase, view_.MapPhase, false});
    }

    struct State {
        int slice, phase, mapPhase;
        bool withMap;
    };
    std::vector<State> prepared, refreshed;
    std::vector<Frame> shown;
    std::vector<int> shownPhase;
    std::vector<uint32_t> waits, frameTimes;
    std::vector<const char *> events;
    std::function<void()> onEvents;
    bool stopDuringPreparation = false;
    uint32_t now = 1000;

private:
    ViewState &view_;
};

// Stops after `frames` frames have been shown.
void stopAfter(FakeHost &host, ViewState &view, std::size_t frames)
{
    host.onEvents = [&host, &view, frames] {
        if (host.shown.size() >= frames)
            view.CineStopRequested = 1;
    };
}

TEST(CineLoop, SliceMontageStepsTheSlicesOfThePhase)
{
    ViewState view;
    view.DisplayMode = 0;
    view.CurSlice = 7;
    view.CurPhase = 3;
    view.MapPhase = 9;
    FakeHost host(view);
    stopAfter(host, view, 20);
    RunCineLoop(view, host);

    ASSERT_EQ(host.prepared.size(), 16u);
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(host.prepared[std::size_t(k)].slice, k);
        EXPECT_EQ(host.prepared[std::size_t(k)].phase, 3);
        EXPECT_FALSE(host.prepared[std::size_t(k)].withMap);
    }
    ASSERT_EQ(host.shown.size(), 20u);
    EXPECT_EQ(host.shown[15].k, 15);
    EXPECT_EQ(host.shown[16].k, 0); // after 15 comes 0
    EXPECT_EQ(host.shown[19].k, 3);
    // Back at slice 7, phase 3; MapPhase follows CurPhase from the start of the loop.
    EXPECT_EQ(view.CurSlice, 7);
    EXPECT_EQ(view.CurPhase, 3);
    EXPECT_EQ(view.MapPhase, 3);
    ASSERT_EQ(host.refreshed.size(), 1u);
    EXPECT_EQ(host.refreshed[0].slice, 7);
    EXPECT_EQ(host.events, (std::vector<const char *>{"begin", "end"}));
}

TEST(CineLoop, PhaseMontageAndMapDisplayStepThePhases)
{
    struct Case {
        int displayMode, mapKind;
        bool withMap, redrawMap;
    } cases[] = {
        {1, MapGA, false, false}, {1, MapBI, false, false}, // a montage keeps Image1
        {2, MapGA, false, false}, {2, MapCA, false, false}, {2, MapBA, false, false},
        {2, MapBI, true, false},  {2, MapG1, false, true},  {2, MapC1, false, true},
        {2, MapB1, false, true},  {2, MapA1, false, true},  {2, MapW1, false, true},
        {2, MapD1, false, true},
    };
    for (const Case &c : cases) {
        ViewState view;
        view.DisplayMode = c.displayMode;
        view.MapKind = c.mapKind;
        view.CurSlice = 5;
        view.CurPhase = 7;
        view.MapPhase = 2;
        FakeHost host(view);
        stopAfter(host, view, 18);
        RunCineLoop(view, host);
        ASSERT_EQ(host.prepared.size(), 16u);
        for (int k = 0; k < 16; ++k) {
            const FakeHost::State &s = host.prepared[std::size_t(k)];
            EXPECT_EQ(s.slice, 5);
            EXPECT_EQ(s.phase, k);
            EXPECT_EQ(s.withMap, c.withMap);
            EXPECT_EQ(s.mapPhase, c.withMap ? k : 7) << "the BI frames compare phase k";
        }
        for (std::size_t f = 0; f < host.shown.size(); ++f) {
            EXPECT_EQ(host.shown[f].redrawMap, c.redrawMap) << c.mapKind;
            EXPECT_EQ(host.shown[f].showPreparedMap, c.withMap) << c.mapKind;
            if (c.redrawMap) {
                EXPECT_EQ(host.shownPhase[f], host.shown[f].k);
            }
        }
        EXPECT_EQ(view.CurPhase, 7) << c.displayMode << "/" << c.mapKind;
        EXPECT_EQ(view.MapPhase, 7);
        EXPECT_EQ(view.CurSlice, 5);
    }
}

TEST(CineLoop, WaitsTheDelayBeforeEachFrameAndTakesAChangeAtTheNextFrame)
{
    ViewState view;
    view.DisplayMode = 1;
    view.CineDelayMs = 100;
    FakeHost host(view);
    host.onEvents = [&] {
        if (host.shown.size() == 2)
            view.CineDelayMs = 500; // the speed bar moved during frame 1
        if (host.shown.size() >= 4)
            view.CineStopRequested = 1;
    };
    RunCineLoop(view, host);
    ASSERT_EQ(host.frameTimes.size(), 4u);
    // Each frame starts the delay after the previous frame's end (1 ms of events between).
    EXPECT_EQ(host.frameTimes[0], 1100u);
    EXPECT_EQ(host.frameTimes[1], 1201u);
    EXPECT_EQ(host.frameTimes[2], 1702u);
    EXPECT_EQ(host.frameTimes[3], 2203u);
}

TEST(CineLoop, TheWaitHoldsAcrossTheWrapOfTheTickCounter)
{
    ViewState view;
    view.CineDelayMs = 250;
    FakeHost host(view);
    host.now = 0xFFFFFF00u; // 256 ms before the counter wraps
    stopAfter(host, view, 3);
    RunCineLoop(view, host);
    ASSERT_EQ(host.frameTimes.size(), 3u);
    EXPECT_EQ(host.frameTimes[0], 0xFFFFFF00u + 250);
    EXPECT_EQ(host.frameTimes[1], uint32_t(0xFFFFFF00u + 250 + 1 + 250)); // wrapped, and still waited
    for (uint32_t w : host.waits)
        EXPECT_LE(w, 250u);
}

TEST(CineLoop, AStopEndsTheWaitAndShowsOneFrame)
{
    ViewState view;
    view.CineDelayMs = 500;
    FakeHost host(view);
    // A stop while waiting for frame 0: the wait ends, frame 0 is shown once, the loop ends.
    host.onEvents = [&] { view.CineStopRequested = 1; };
    RunCineLoop(view, host);
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown[0].k, 0);
    EXPECT_EQ(host.waits.size(), 1u);
}

TEST(CineLoop, AStopDuringPreparationStillShowsFrameZeroOnce)
{
    ViewState view;
    view.CineStopRequested = 1; // left from an earlier stop: the loop clears it
    FakeHost host(view);
    host.stopDuringPreparation = true;
    RunCineLoop(view, host);
    EXPECT_EQ(host.prepared.size(), 16u);
    ASSERT_EQ(host.shown.size(), 1u);
    EXPECT_EQ(host.shown[0].k, 0);
    EXPECT_TRUE(host.waits.empty()) << "no wait once a stop is requested";
}

TEST(CineLoop, RestoresTheVariableItSteppedWhenTheDisplayChanges)
{
    ViewState view;
    view.DisplayMode = 0; // steps the slices
    view.CurSlice = 7;
    view.CurPhase = 3;
    FakeHost host(view);
    host.onEvents = [&] {
        if (host.shown.size() == 2) {
            view.DisplayMode = 2; // "map" clicked during playback, with G1 chosen
            view.MapKind = MapG1;
        }
        if (host.shown.size() >= 6)
            view.CineStopRequested = 1;
    };
    RunCineLoop(view, host);
    EXPECT_TRUE(host.shown[3].redrawMap);
    EXPECT_EQ(view.CurSlice, 7);
    EXPECT_EQ(view.CurPhase, 3) << "the phase the map frames set is put back too";
}

TEST(CineLoop, MoveDuringPlaybackIsIgnored)
{
    ViewState view;
    FakeHost host(view);
    ViewState inner;
    FakeHost innerHost(inner);
    host.onEvents = [&] {
        EXPECT_TRUE(CineLoopRunning());
        RunCineLoop(inner, innerHost); // "move" pressed again
        if (host.shown.size() >= 2)
            view.CineStopRequested = 1;
    };
    RunCineLoop(view, host);
    EXPECT_FALSE(CineLoopRunning());
    EXPECT_TRUE(innerHost.prepared.empty());
    EXPECT_TRUE(innerHost.refreshed.empty());
    EXPECT_EQ(host.shown.size(), 2u);
}

TEST(CineLoop, SteppedVariableByDisplayMode)
{
    EXPECT_EQ(CineSteppedVariable(0), CineVariable::Slice);
    EXPECT_EQ(CineSteppedVariable(1), CineVariable::Phase);
    EXPECT_EQ(CineSteppedVariable(2), CineVariable::Phase);
}

} // namespace
