// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The handlers of the publisher panel: catalogue entries, links, symbol.

#include "ui/numgame.h"

#include "publisher/catalogue.h"
#include "publisher/publisher.h"
#include "publisher/webbrowser.h"
#include "ui/dialogs.h"

#include <QVariant>

namespace ui {

namespace {

// Opens the publisher's site in a new browser window. When no browser can
// be started the player is given the address to open by hand.
void visitPublisher(publisher::WebBrowser &browser, Dialogs &dialogs)
{
    const QString address = publisher::webAddress();
    if (!browser.Navigate(address, QVariant(), QStringLiteral("_blank")))
        dialogs.message(publisher::browserFailedMessage(address), Dialogs::Icon::Exclamation);
}

} // namespace

void NumGame::Label11_Click(int index)
{
    const QString title = publisher::catalogueTitle(index);
    for (const QString &text : publisher::catalogueBoxes(index))
        m_services.dialogs->message(text, Dialogs::Icon::None, Dialogs::Buttons::Ok, title);
}

void NumGame::Label11_MouseMove(int index)
{
    if (index >= 0 && index < static_cast<int>(Label11.size()))
        SetIconProd(Label11[static_cast<size_t>(index)]);
}

void NumGame::Label12_Click()
{
    visitPublisher(*WebBrowser1, *m_services.dialogs);
}

void NumGame::Label19_Click()
{
    visitPublisher(*WebBrowser1, *m_services.dialogs);
}

void NumGame::Image3_Click(int)
{
    m_services.dialogs->message(publisher::contactNotice(), Dialogs::Icon::Information);
}

} // namespace ui
