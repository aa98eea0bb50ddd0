// The two bull's-eye kinds of the map panel, drawn from one ring-and-ray lookup per geometry.
// Internal to corvista_analysis: the panel dispatches to these.
#pragma once

#include "MapPanel.h"

// BI: the white outline circle, then the bull's-eye of inputs.mapPhase against phase 0.
void DrawBullseyeBI(Bitmap &bitmap, const MapPanelInputs &inputs, const GatedVolume &volume, ProfileResults &results);
// The BI bull's-eyes of the 16 phases, one into each bitmap, from one analysis per slice.
void DrawBullseyeBIFrames(Bitmap *const (&frames)[16], const MapPanelInputs &inputs, const GatedVolume &volume,
                          ProfileResults &results);
// BA: the 16 bull's-eyes of every phase against phase 0, phase 0 top left.
void DrawBullseyeBA(Bitmap &bitmap, const MapPanelInputs &inputs, const GatedVolume &volume, ProfileResults &results,
                    const MapPanelProgress &progress);
