// The program-wide view and mode variables through which the window's handlers talk to the
// drawing, analysis, cine and export routines. The start values match the controls at start-up.
#pragma once

#include <cstdint>

struct ViewState {
    int32_t CurSlice = 7;    // selected slice 0..15 (slice button "8")
    int32_t CurPhase = 7;    // selected phase 0..15 (phase button "8")
    int32_t MapPhase = 7;    // phase of the per-phase bull's-eye (BI)
    int32_t DisplayMode = 0; // Image1: 0 slice montage, 1 phase montage, 2 map panel
    int32_t MapKind = 1;     // Tag of the checked map-kind button (1 = GA); no kind is 5
    int32_t PercentScale = 0; // 1 while the count-window bars carry percent limits
    // Saved bar settings, in the order: ScrollBarMax max, min; ScrollBarMin max, min;
    // ScrollBarMax position, ScrollBarMin position.
    int32_t CountScaleSet[6] = {0, 0, 0, 0, 0, 0};
    int32_t PercentScaleSet[6] = {99, 0, 100, 1, 50, 50};
    int32_t BullseyeKind = 0;      // 0 P (peak), 1 A (area), 2 W (width), 3 D (distance)
    int32_t RoiVisible = 1;        // 1: ROI circle drawn on the detail view
    int32_t RoiRadius = 40;        // ROI radius in volume pixels, the position of ScrollBarD
    int32_t CopySource = 0;        // Edit > Copy takes 0 Image1, 1 Image3
    int32_t BackgroundMode = 0;    // montage background: 0 the menu colour, 1 black
    int32_t CineStopRequested = 0; // 1 once a stop of the cine loop has been requested
    int32_t CineDelayMs = 100;     // wait before each cine frame, the position of ScrollBarT
    int32_t ExportVariant = 0;     // CSV export variant: 0 A, 1 B
};

// Map kinds: the Tags of the map-kind radio buttons.
enum MapKindValue : int32_t {
    MapG1 = 0, MapGA = 1, MapC1 = 2, MapCA = 3, MapB1 = 4,
    MapA1 = 6, MapAA = 7, MapW1 = 8, MapWA = 9,
    MapBI = 10, MapBA = 11, MapD1 = 12, MapDA = 13,
};
