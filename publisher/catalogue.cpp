// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "publisher/catalogue.h"

#include <array>

namespace publisher {

namespace {

constexpr int LastTrialEntry = 5;

// A description is its heading line (indent and capitals), an empty line
// and the body. A body too long for one box goes on in a second box, which
// repeats the heading and says it is continued; the first box then ends in
// the first letters of the broken word and six full stops, and the rest
// starts again with the whole word.
struct Entry
{
    const char *caption;
    const char *heading;
    const char *body;
    const char *rest; // the second box's part of the body, or nullptr
};

const std::array<Entry, CatalogueSize> kEntries = {{
    // 0
    {"Ledgerly Accounts",
     "\t  LEDGERLY ACCOUNTS 3.2",
     "LEDGERLY ACCOUNTS is a complete book-keeping program for small shops, offices and households.\r\n"
     "Enter your sales, purchases, receipts and payments once, and Ledgerly keeps the cash book, the\r\n"
     "bank book and the ledgers up to date by itself. Trial balance, profit and loss account and\r\n"
     "balance sheet are ready at any moment, for any period you choose.\r\n"
     "\r\n"
     "Customer and supplier accounts show what is owed to you and what you owe, with reminders for bills\r\n"
     "that fall due. Invoices can be printed on your own letterhead or on plain paper, and every\r\n"
     "voucher can be found again in seconds by its number, date, name or amount.\r\n"
     "\r\n"
     "The trial version is complete in every respect and may be used for thirty days. After that\r\n"
     "period the entries you made stay safe and can still be viewed and printed, but no new entries\r\n"
     "can be made until the program is registered. Registration brings free updates for one year and\r\n"
     "help by e-mail from the people who wrote the program.",
     nullptr},
    // 1
    {"PhotoMender Pro",
     "\t    PHOTOMENDER PRO 2.0",
     "PHOTOMENDER PRO repairs and improves your photographs in a few clicks. Remove red eyes, scratches\r\n"
     "and dust, straighten crooked horizons, brighten dark pictures and bring back the colours of old\r\n"
     "prints. Batch mode treats a whole folder of pictures at once, and the original files are never\r\n"
     "changed. The trial version adds a small mark to the pictures it saves until it is registered.",
     nullptr},
    // 2
    {"Orbit Inventory",
     "\t\t\t    ORBIT INVENTORY",
     "ORBIT INVENTORY keeps track of every item that comes into your store room and every item that\r\n"
     "goes out of it. Goods can be received against purchase orders, issued against requisitions or\r\n"
     "sales bills and moved from one store to another, and the stock in hand of every item at every\r\n"
     "place is always up to date. Items may be counted in any unit you like, bought in boxes and sold\r\n"
     "in pieces, and the program converts between the units for you. A minimum level can be set for\r\n"
     "each item: when the stock falls below it, the item appears in the reorder list together with its\r\n"
     "usual supplier and the quantity that was ordered last time, so that a purchase order can be\r\n"
     "printed straight away. Items with an expiry date are listed a month before they expire, and\r\n"
     "batch numbers are followed from the day of receipt to the day of sale. Reports show the value\r\n"
     "of the stock at average, first-in first-out or last purchase price, the movement of any item\r\n"
     "over any period, the slow-moving and fast-moving goods, and the items that have not moved at all\r\n"
     "for a year or more. Every report can be printed, previewed on the screen or exp......",
     "exported to a spreadsheet or a text file. Several users on a network can work with the same data\r\n"
     "at the same time, each with a password of his own and the rights that the owner gives him. The\r\n"
     "trial version may be used for thirty days with up to two hundred items. Registered users receive\r\n"
     "the full version without limits, a printed manual and free updates for one year."},
    // 3
    {"QuickQuote Builder",
     "\t\tQUICKQUOTE BUILDER 1.5",
     "QUICKQUOTE BUILDER prepares neat price quotations, estimates and proforma invoices for traders,\r\n"
     "contractors and service firms. Pick the items from your own price list, change quantities and\r\n"
     "discounts, and the totals, taxes and amount in words are worked out as you type.\r\n"
     "\r\n"
     "Every quotation is saved under the customer's name, so that an old quotation can be opened again,\r\n"
     "changed and sent as a new one. When the customer accepts, the quotation becomes an order or an\r\n"
     "invoice with one click, without typing anything twice. A follow-up list shows the quotations\r\n"
     "that are still waiting for an answer and how long they have been waiting.\r\n"
     "The look of the printed page is yours to choose: your logo, your terms and conditions, your\r\n"
     "signature and any of the six ready layouts. Quotations can also be saved as text files and sent\r\n"
     "by e-mail. The trial version works for twenty-one days and prints a small notice at the foot of\r\n"
     "every page until it is registered.",
     nullptr},
    // 4
    {"TypeTutor Deluxe",
     "\t\tTYPETUTOR DELUXE",
     "TYPETUTOR DELUXE teaches touch typing step by step, from the home row to the whole keyboard,\r\n"
     "numbers and signs. Each lesson begins with a few new keys and ends with a short test; the program\r\n"
     "notices which keys give you trouble and brings them back more often. Speed and accuracy are shown\r\n"
     "after every exercise and drawn as a graph over the weeks, and each member of the family can have\r\n"
     "a course of his own. The first ten lessons are free; the other forty open on registration.",
     nullptr},
    // 5
    {"Backup Sentinel",
     "\t\tBACKUP SENTINEL 4.0",
     "BACKUP SENTINEL copies your important files to another disk, a network folder or a removable\r\n"
     "drive, every day at the hour you choose or whenever you ask. Only the files that have changed\r\n"
     "since the last copy are copied again, so a backup takes minutes instead of hours, and the older\r\n"
     "versions of every file are kept for as many days as you like. The trial works for thirty days.",
     nullptr},
    // 6
    {"Desktop Calendar and Reminder Utility",
     "\tDESKTOP CALENDAR AND REMINDER UTILITY",
     "DESKTOP CALENDAR AND REMINDER UTILITY puts a small calendar of the month on a corner of your\r\n"
     "screen, where it stays without getting in the way. Holidays are shown in red, and any date can\r\n"
     "carry a note of its own: a birthday, a meeting, a bill to be paid or a train to be caught. A\r\n"
     "double click on a date opens its notes, and every date that has notes is marked with a dot\r\n"
     "so that you see it at a glance.\r\n"
     "\r\n"
     "Reminders can be set for a day, an hour or a minute, once or every week, month or year. When the\r\n"
     "time comes a small window appears with a sound, even when other programs are running, and the\r\n"
     "reminder can be put off for five minutes, an hour or a day.\r\n"
     "\r\n"
     "The program takes very little memory and starts with the computer if you wish. It is free for\r\n"
     "home and office use and may be copied and given to others, provided it is not changed in any\r\n"
     "way and no money is asked for it.",
     nullptr},
    // 7
    {"Pocket Calculator",
     "\t\t\tPOCKET CALCULATOR",
     "POCKET CALCULATOR is a small calculator that works just like the one on your desk, with large\r\n"
     "keys that can be pressed with the mouse or typed on the keyboard.\r\n"
     "\r\n"
     "Besides the four rules it works out percentages, square roots, powers and reciprocals, and it\r\n"
     "keeps ten memories whose contents are remembered from one day to the next.\r\n"
     "\r\n"
     "A paper roll records every figure you enter. It can be scrolled back to check a long addition,\r\n"
     "corrected in the middle, printed, or copied into a letter or a spreadsheet.\r\n"
     "\r\n"
     "The calculator can stay on top of other windows and can be made smaller or larger, so that it\r\n"
     "is always at hand without covering your work.\r\n"
     "\r\n"
     "POCKET CALCULATOR is freeware. You may use it and give copies of it to your friends without\r\n"
     "paying anything.",
     nullptr},
    // 8
    {"File Renamer",
     "\t\t\tFILE RENAMER 1.1",
     "FILE RENAMER gives new names to many files at once: add a number, a date or a word in front of\r\n"
     "or after the name, replace one word by another, change capitals to small letters and back. The\r\n"
     "new names are shown before anything is changed, and the last renaming can always be undone.",
     nullptr},
    // 9
    {"Clipboard Keeper",
     "\t\t\tCLIPBOARD KEEPER",
     "CLIPBOARD KEEPER remembers the last fifty things you copied, so that any of them can be pasted again.",
     nullptr},
    // 10
    {"Word Ladder",
     "\t\t\tWORD LADDER",
     "WORD LADDER is a word game for one or two players. The game shows a word at the foot of the\r\n"
     "ladder and another at the top, and the player must climb from one to the other by changing one\r\n"
     "letter at a time, each step making a proper English word. COLD can become WARM in four steps:\r\n"
     "CORD, CARD, WARD, WARM. The fewer the steps, the higher the score, and a clock adds a bonus for\r\n"
     "quick thinking.\r\n"
     "\r\n"
     "Two thousand ladders of three, four and five letters are included, from easy to very hard, and\r\n"
     "a hint shows the next letter to change when you are stuck. Two players may race each other on\r\n"
     "the same ladder, taking turns at the keyboard. WORD LADDER is free and may be copied freely.",
     nullptr},
    // 11
    {"Tavrolin",
     "\t\t\tTAVROLIN",
     "TAVROLIN: This is a simple game like that of a dice. Two players are required to\r\n"
     "play this game. Each will try to obtain higher points by clicking any number of the series of the\r\n"
     "numbers arranged in a circular fashion. It is important to note that the numbers appearing are\r\n"
     "illusive and do not represent the actual number which is hidden. The hidden number appears on\r\n"
     "clicking it and the player scores points corresponding to that number. It may be noted that each\r\n"
     "series is a unique which makes the game more interesting.\r\n"
     "\r\n"
     "Each Player has ten attempts to go. Player names may be inserted from the menu item above.",
     nullptr},
    // 12
    {"Tiny Notepad",
     "\t\t\tTINY NOTEPAD",
     "TINY NOTEPAD is a small and fast text editor for notes, lists and letters. It opens files of any\r\n"
     "size in a moment, remembers the last ten files you worked on, and can find and replace words,\r\n"
     "count words and lines, and print with page numbers. It is free for everyone to use and copy.",
     nullptr},
    // 13
    {"Colour Picker",
     "\t\t\tCOLOUR PICKER",
     "COLOUR PICKER shows the exact colour of any point on your screen. Move the mouse over a picture,\r\n"
     "a button or a web page and the colour under the pointer is shown enlarged, together with its red,\r\n"
     "green and blue values in decimal and in hexadecimal. A click keeps the colour in a palette of\r\n"
     "sixteen places, and any colour of the palette can be copied as text for use in web pages and\r\n"
     "programs. COLOUR PICKER is freeware from Ormandi.",
     nullptr},
}};

const QLatin1String kLineBreak("\r\n");

QString box(const Entry &entry, const QString &body)
{
    return QString::fromLatin1(entry.heading) + kLineBreak + kLineBreak + body;
}

} // namespace

int catalogueEntry(int index)
{
    return index >= 0 && index < CatalogueSize - 1 ? index : CatalogueSize - 1;
}

QString catalogueCaption(int index)
{
    return QString::fromLatin1(kEntries[static_cast<size_t>(catalogueEntry(index))].caption);
}

QString catalogueTitle(int index)
{
    return catalogueEntry(index) <= LastTrialEntry ? QStringLiteral("Ormandi Corporate Product")
                                                   : QStringLiteral("A FREEWARE: Courtesy Ormandi");
}

QStringList catalogueBoxes(int index)
{
    const Entry &entry = kEntries[static_cast<size_t>(catalogueEntry(index))];
    QStringList boxes{box(entry, QString::fromLatin1(entry.body))};
    if (entry.rest)
        boxes.append(box(entry, QStringLiteral("Continued...") + kLineBreak + QString::fromLatin1(entry.rest)));
    return boxes;
}

} // namespace publisher
