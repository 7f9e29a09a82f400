// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "support/gamedriver.h"

#include "game/textvalue.h"
#include "ui/gamelabel.h"
#include "ui/intervaltimer.h"

#include <QTest>

namespace testing {

GameDriver::GameDriver(bool realSound)
{
    clock.seconds = 1000.0f;
    random.last = 0.25f;
    ui::Services services;
    services.dialogs = &dialogs;
    services.clock = &clock;
    services.random = &random;
    services.storage = &storage;
    if (!realSound)
        services.sound = &sound;
    m_window = std::make_unique<ui::NumGame>(services);
}

GameDriver::~GameDriver() = default;

ui::GameLabel *GameDriver::label(const QString &name) const
{
    auto *found = m_window->findChild<ui::GameLabel *>(name);
    if (!found)
        qFatal("no label %s", qPrintable(name));
    return found;
}

ui::GameLabel *GameDriver::square(bool firstSeries, int index) const
{
    return label(QStringLiteral("%1(%2)").arg(firstSeries ? "Label1" : "Label2").arg(index));
}

ui::GameLabel *GameDriver::bannerPart(int index) const
{
    return label(QStringLiteral("Label9(%1)").arg(index));
}

ui::IntervalTimer *GameDriver::timer(const char *name) const
{
    return m_window->findChild<ui::IntervalTimer *>(QString::fromLatin1(name));
}

void GameDriver::settleBoard()
{
    m_window->Label1_Click(0);
    m_window->Reset_Click();
    sound.images.clear();
}

ui::GameLabel *GameDriver::hitValue(int value, bool firstSeries)
{
    for (int i = 0; i < 10; ++i) {
        ui::GameLabel *candidate = square(firstSeries, i);
        if (game::textValue(candidate->text()) == value) {
            if (firstSeries)
                m_window->Label1_Click(i);
            else
                m_window->Label2_Click(i);
            return candidate;
        }
    }
    qFatal("no square shows %d", value);
    return nullptr;
}

void GameDriver::playGame(const QList<int> &firstHits, const QList<int> &secondHits)
{
    for (qsizetype k = 0; k < firstHits.size(); ++k) {
        hitValue(firstHits[k], true);
        hitValue(secondHits[k], false);
    }
}

} // namespace testing
