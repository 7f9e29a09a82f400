// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "ui/modgame.h"

#include "ui/soundoutput.h"

#include <QFile>

namespace modGame {

qint16 SoundIndex = 0;
QByteArray WavData;

namespace {
ui::SoundOutput *g_output = nullptr;
}

void setOutput(ui::SoundOutput *output)
{
    g_output = output;
}

ui::SoundOutput *output()
{
    return g_output;
}

QByteArray wavResource(qint16 id)
{
    QFile resource(QStringLiteral(":/wav/%1.wav").arg(id));
    if (!resource.open(QIODevice::ReadOnly))
        return {};
    return resource.readAll();
}

void PlayWavResource(qint16 id)
{
    const QByteArray image = wavResource(id);
    // Starting the new sound stops the old one; only then is the old image
    // let go (the output keeps its own reference while it plays).
    if (g_output)
        g_output->play(image);
    WavData = image;
}

} // namespace modGame
