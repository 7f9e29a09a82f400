// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QString>

namespace testing {

// Whether characters `from` to `to` (excluded) of the paragraph are set out
// from left to right on a left-to-right line, the way a caption or the
// board lays them out: nothing earlier in the text has turned their
// direction.
bool setOutLeftToRight(const QString &paragraph, qsizetype from, qsizetype to);

} // namespace testing
