// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <cmath>

namespace ui {

// The window was designed in twips, 15 to a pixel at 96 dpi.
constexpr int TwipsPerPixel = 15;

// Twips to pixels, to the nearest pixel (halves away from zero): the one
// rounding the layout and the centring of the panel share.
inline int twipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

// The form as designed, menu bar excluded, and the main panel on it.
constexpr int FormWidthTwips = 11880;
constexpr int FormHeightTwips = 7860;
constexpr int MainPanelWidthTwips = 11745;
constexpr int MainPanelHeightTwips = 7695;

} // namespace ui
