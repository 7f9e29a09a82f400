#include "ui/modgame.h"

#include <QFile>

namespace modGame {

qint16 SoundIndex = 0;
QByteArray WavData;

void PlayWavResource(qint16 id)
{
    QFile resource(QStringLiteral(":/wav/%1.wav").arg(id));
    if (!resource.open(QIODevice::ReadOnly))
        return;
    WavData = resource.readAll();
    // Playback itself comes with the sound output.
}

} // namespace modGame
