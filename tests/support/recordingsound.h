// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include "ui/soundoutput.h"

#include <QByteArray>
#include <QList>

namespace testing {

// A sound output that plays nothing and keeps every image it was given.
class RecordingSound final : public ui::SoundOutput
{
public:
    void play(const QByteArray &wavImage) override { images.append(wavImage); }

    // The WAV resource (109, 110 or 111) each image was loaded from, in the
    // order played; 0 for an image that is none of them.
    QList<int> resources() const;

    QList<QByteArray> images;
};

} // namespace testing
