// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QString>

namespace publisher {

// The publisher's site and contact address.
inline QString webHost() { return QStringLiteral("www.ormandi.example"); }
inline QString webAddress() { return QStringLiteral("http://www.ormandi.example/"); }
inline QString contactEmail() { return QStringLiteral("contact@ormandi.example"); }

// What the publisher's symbol says when clicked.
inline QString contactNotice()
{
    return QStringLiteral("This is the symbol of Ormandi\r\nContact: ") + contactEmail();
}

// What the player is told when no browser could be started for an address,
// so that it can be opened by hand.
inline QString browserFailedMessage(const QString &address)
{
    return QStringLiteral("No web browser could be started to show the page.\r\n"
                          "Please open this address in your browser:\r\n\r\n") +
           address;
}

} // namespace publisher
