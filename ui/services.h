// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

namespace game {
class Clock;
class RandomSource;
}

namespace publisher {
class UrlOpener;
}

namespace scores {
class Storage;
}

namespace ui {

class Dialogs;
class SoundOutput;

// What the outside world decides for the window. Any seam left null is
// replaced by the real thing, owned by the window.
struct Services
{
    Dialogs *dialogs = nullptr;
    game::Clock *clock = nullptr;
    game::RandomSource *random = nullptr;
    publisher::UrlOpener *urlOpener = nullptr;
    SoundOutput *sound = nullptr;
    scores::Storage *storage = nullptr; // score log and settings locations
};

} // namespace ui
