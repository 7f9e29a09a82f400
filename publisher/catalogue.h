#pragma once

#include <QString>

namespace publisher {

constexpr int CatalogueSize = 14;

// Caption of catalogue entry `index` (0..13): entries 0 to 5 are the trial
// products, 6 to 13 the free programs, 11 this game.
QString catalogueCaption(int index);

} // namespace publisher
