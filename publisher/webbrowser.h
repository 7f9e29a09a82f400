// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

#pragma once

#include <QString>
#include <QUrl>
#include <QVariant>
#include <QWidget>

namespace publisher {

// How an address reaches the desktop's web browser.
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;

    // Hands the address over and returns at once; false when nothing could
    // be started to show it.
    virtual bool open(const QUrl &url) = 0;
};

// The desktop's own choice of browser (QDesktopServices).
class DesktopUrlOpener final : public UrlOpener
{
public:
    bool open(const QUrl &url) override;
};

// The small browser control on the window. It has an empty location and
// shows no page of its own: a navigation hands the address to the desktop's
// browser, which shows it in a top-level window of its own, and returns at
// once. Nothing remembers earlier navigations; each one opens the address
// again.
class WebBrowser : public QWidget
{
    Q_OBJECT
public:
    WebBrowser(UrlOpener &opener, QWidget *parent = nullptr);

    // Navigation flags and frame names mean nothing to an outside browser:
    // every address opens in a window of its own, as the target "_blank"
    // asks. Returns false when no browser could be started for it.
    bool Navigate(const QString &address, const QVariant &flags = QVariant(),
                  const QString &targetFrameName = QString());

private:
    UrlOpener &m_opener;
};

} // namespace publisher
