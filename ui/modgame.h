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

// Set by the caller to 9, 10 or 11 just before PlayHitSound; the sound
// played is resource 100 + SoundIndex.
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
