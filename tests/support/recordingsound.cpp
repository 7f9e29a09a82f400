// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "support/recordingsound.h"

#include "ui/modgame.h"

namespace testing {

QList<int> RecordingSound::resources() const
{
    QList<int> ids;
    for (const QByteArray &image : images) {
        int id = 0;
        for (qint16 candidate : {109, 110, 111}) {
            if (!image.isEmpty() && image == modGame::wavResource(candidate))
                id = candidate;
        }
        ids.append(id);
    }
    return ids;
}

} // namespace testing
