#include "publisher/catalogue.h"

#include <array>

namespace publisher {

namespace {

const std::array<const char *, CatalogueSize> kCaptions = {
    "Ledgerly Accounts",    // 0
    "PhotoMender Pro",      // 1
    "Orbit Inventory",      // 2
    "QuickQuote Builder",   // 3
    "TypeTutor Deluxe",     // 4
    "Backup Sentinel",      // 5
    "Desktop Calendar and Reminder Utility", // 6 (wraps onto two lines)
    "Pocket Calculator",    // 7
    "File Renamer",         // 8
    "Clipboard Keeper",     // 9
    "Word Ladder",          // 10
    "Tavrolin",             // 11
    "Tiny Notepad",         // 12
    "Colour Picker",        // 13
};

} // namespace

QString catalogueCaption(int index)
{
    if (index < 0 || index >= CatalogueSize)
        index = CatalogueSize - 1;
    return QString::fromLatin1(kCaptions[static_cast<size_t>(index)]);
}

} // namespace publisher
