// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include "support/fakes.h"
#include "support/recordingsound.h"
#include "support/tempstorage.h"
#include "ui/numgame.h"

#include <memory>

namespace ui {
class GameLabel;
class IntervalTimer;
}

namespace testing {

// A game window on fake seams, with a board whose numbering stays put:
// the random source and the clock never change, so every renumbering
// starts from the same digit and each square keeps showing one value.
class GameDriver
{
public:
    // With realSound the window plays through its own audio output and
    // `sound` records nothing.
    explicit GameDriver(bool realSound = false);
    ~GameDriver();

    ui::NumGame &window() { return *m_window; }
    ui::GameLabel *label(const QString &name) const;
    ui::GameLabel *square(bool firstSeries, int index) const;
    ui::GameLabel *bannerPart(int index) const; // Label9(index)
    ui::IntervalTimer *timer(const char *name) const;

    // Hits once and starts a new game, so the squares show the numbering
    // every later hit leaves on them.
    void settleBoard();
    // Hits a square that shows `value` (the first series' unless told
    // otherwise); returns the square hit.
    ui::GameLabel *hitValue(int value, bool firstSeries = true);
    // Plays a whole game: the first player hits firstHits[k], the second
    // secondHits[k], in turn. Both lists hold ten values.
    void playGame(const QList<int> &firstHits, const QList<int> &secondHits);

    FakeDialogs dialogs;
    FakeClock clock;
    FakeRandom random;
    RecordingSound sound;
    TempStorage storage; // finished games log here, never beside the test

private:
    std::unique_ptr<ui::NumGame> m_window;
};

} // namespace testing
