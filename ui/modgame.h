// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace ui {
class SoundOutput;
}

// The game's sound module: which sound to play next, and the image of the
// sound last started.
namespace modGame {

// The game's sounds, as WAV resources.
constexpr qint16 HitSoundResource = 109;       // a hit that scores 1 or more
constexpr qint16 LowHitSoundResource = 110;    // a hit that scores 0 or less
constexpr qint16 WinnerSoundResource = 111;    // each blink of the winner banner
constexpr qint16 SoundResourceBase = 100;      // resource = base + SoundIndex

// SoundIndex for each of them.
constexpr qint16 HitSoundIndex = HitSoundResource - SoundResourceBase;
constexpr qint16 LowHitSoundIndex = LowHitSoundResource - SoundResourceBase;
constexpr qint16 WinnerSoundIndex = WinnerSoundResource - SoundResourceBase;

// Set by the caller to one of the indexes above just before PlayHitSound;
// the sound played is resource SoundResourceBase + SoundIndex.
extern qint16 SoundIndex;

// The complete WAV image last loaded; it stays alive while it plays.
extern QByteArray WavData;

// Where PlayWavResource sends its sounds; null plays nothing.
void setOutput(ui::SoundOutput *output);
ui::SoundOutput *output();

// The bytes of WAV resource `id`; empty when there is no such resource.
QByteArray wavResource(qint16 id);

// Loads WAV resource `id` into WavData and starts playing it; returns at once.
void PlayWavResource(qint16 id);

} // namespace modGame
