// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#include "publisher/webbrowser.h"

#include <QDesktopServices>

namespace publisher {

bool DesktopUrlOpener::open(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

WebBrowser::WebBrowser(UrlOpener &opener, QWidget *parent) : QWidget(parent), m_opener(opener)
{
}

bool WebBrowser::Navigate(const QString &address, const QVariant &, const QString &)
{
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() && m_opener.open(url);
}

} // namespace publisher
