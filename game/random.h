// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QtGlobal>

namespace game {

// Source of uniform fractions in [0, 1). Tests replace it.
class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual float next() = 0;
};

// The game's generator. It is deliberately never seeded: every run of the
// program sees the same sequence of fractions.
class UnseededRandom final : public RandomSource
{
public:
    float next() override;

private:
    quint64 m_state = 0;
};

} // namespace game
