// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QString>
#include <QStringList>

namespace publisher {

constexpr int CatalogueSize = 14;

// Entries 0 to 5 are the trial products, 6 to 13 the free programs; entry
// 11 is this game.

// The entry an index selects: 0 to 12 their own, anything else the last.
int catalogueEntry(int index);

// Caption of the entry's line in the catalogue lists.
QString catalogueCaption(int index);

// Title of the boxes that describe the entry: the name of its group.
QString catalogueTitle(int index);

// The texts of the boxes that describe the entry, in the order they are
// shown: one box, or two when the description does not fit one. Lines are
// separated by CR LF and no box ends with a line break.
QStringList catalogueBoxes(int index);

} // namespace publisher
