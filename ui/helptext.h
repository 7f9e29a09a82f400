// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QString>

namespace ui {

// The text the Help command shows: sixteen lines separated by CR LF, the
// first one indented by two tabs, with a line break after the last one.
// The lines are broken by hand; the box must not re-flow them.
QString helpText();

} // namespace ui
