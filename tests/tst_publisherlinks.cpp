// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The links to the publisher's site, the browser control that opens them,
// what happens when no browser can be started, and the contact notice.

#include "publisher/publisher.h"
#include "publisher/webbrowser.h"
#include "support/fakes.h"
#include "support/recordingsound.h"
#include "support/tempstorage.h"
#include "ui/gamelabel.h"
#include "ui/numgame.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QTest>

#include <memory>

using testing::FakeDialogs;

namespace {

// Stands in for the desktop's browser: records every address it is given.
class BrowserStandIn : public QObject
{
    Q_OBJECT
public slots:
    void open(const QUrl &url) { opened.append(url); }

public:
    QList<QUrl> opened;
};

// An opener that answers as told, for the case no browser can be started.
class ScriptedOpener final : public publisher::UrlOpener
{
public:
    bool open(const QUrl &url) override
    {
        asked.append(url);
        return result;
    }
    bool result = false;
    QList<QUrl> asked;
};

} // namespace

class TestPublisherLinks : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void browserHandsOverAndReportsFailure();
    void bothLinksOpenTheSiteEveryClick();
    void failureWarnsWithTheAddress();
    void desktopWithoutBrowserWarns();
    void symbolShowsTheContactNotice();
    void emailLabelDoesNothing();

private:
    void makeWindow(publisher::UrlOpener *opener = nullptr);
    ui::GameLabel *label(const char *name) const { return window->findChild<ui::GameLabel *>(name); }

    std::unique_ptr<BrowserStandIn> browser;
    std::unique_ptr<FakeDialogs> dialogs;
    testing::FakeClock clock;
    testing::FakeRandom random;
    testing::RecordingSound sound;
    std::unique_ptr<testing::TempStorage> storage;
    std::unique_ptr<ui::NumGame> window;
};

void TestPublisherLinks::init()
{
    browser = std::make_unique<BrowserStandIn>();
    QDesktopServices::setUrlHandler("http", browser.get(), "open");
    dialogs = std::make_unique<FakeDialogs>();
    storage = std::make_unique<testing::TempStorage>();
}

void TestPublisherLinks::cleanup()
{
    QDesktopServices::unsetUrlHandler("http");
    window.reset();
    browser.reset();
    dialogs.reset();
    storage.reset();
}

void TestPublisherLinks::makeWindow(publisher::UrlOpener *opener)
{
    ui::Services services;
    services.dialogs = dialogs.get();
    services.clock = &clock;
    services.random = &random;
    services.sound = &sound;
    services.storage = storage.get();
    services.urlOpener = opener;
    window = std::make_unique<ui::NumGame>(services);
    window->show();
}

void TestPublisherLinks::browserHandsOverAndReportsFailure()
{
    ScriptedOpener opener;
    publisher::WebBrowser control(opener);

    opener.result = true;
    QVERIFY(control.Navigate("http://www.ormandi.example/", QVariant(), "_blank"));
    QCOMPARE(opener.asked, QList<QUrl>{QUrl("http://www.ormandi.example/")});

    opener.result = false;
    QVERIFY(!control.Navigate("http://www.ormandi.example/"));
    QCOMPARE(opener.asked.size(), 2);

    // An address that is no address is not handed over at all.
    QVERIFY(!control.Navigate("http://exa mple/<>"));
    QVERIFY(!control.Navigate(QString()));
    QCOMPARE(opener.asked.size(), 2);

    // The real opener goes through the desktop's handlers.
    publisher::DesktopUrlOpener desktop;
    QVERIFY(desktop.open(QUrl("http://www.ormandi.example/downloads")));
    QCOMPARE(browser->opened, QList<QUrl>{QUrl("http://www.ormandi.example/downloads")});
}

void TestPublisherLinks::bothLinksOpenTheSiteEveryClick()
{
    makeWindow();
    const QUrl site(publisher::webAddress());
    QCOMPARE(site.scheme(), QString("http"));
    QCOMPARE(site.path(), QString("/"));
    // The address opened is the one the link names.
    QCOMPARE(label("Label12")->text(), "Visit: " + site.host());
    QCOMPARE(label("Label19")->text(), QString("Free Download"));

    QTest::mouseClick(label("Label12"), Qt::LeftButton);
    QCOMPARE(browser->opened, QList<QUrl>{site});
    QTest::mouseClick(label("Label19"), Qt::LeftButton);
    QCOMPARE(browser->opened, QList<QUrl>({site, site}));

    // Nothing remembers an earlier window: each click opens one more.
    QTest::mouseClick(label("Label12"), Qt::LeftButton);
    QTest::mouseClick(label("Label19"), Qt::LeftButton);
    QCOMPARE(browser->opened.size(), 4);
    QCOMPARE(browser->opened.last(), site);
    QVERIFY(dialogs->messages.isEmpty());
    QCOMPARE(window->state().HitCount, qint16(0));
}

void TestPublisherLinks::failureWarnsWithTheAddress()
{
    ScriptedOpener opener;
    makeWindow(&opener);

    window->Label12_Click();
    QCOMPARE(opener.asked, QList<QUrl>{QUrl(publisher::webAddress())});
    QCOMPARE(dialogs->messages.size(), 1);
    const testing::ShownMessage warning = dialogs->messages.first();
    QCOMPARE(warning.icon, ui::Dialogs::Icon::Exclamation);
    QCOMPARE(warning.buttons, ui::Dialogs::Buttons::Ok);
    QVERIFY(warning.title.isEmpty());
    QVERIFY2(warning.text.split("\r\n").contains(publisher::webAddress()), qPrintable(warning.text));

    QTest::mouseClick(label("Label19"), Qt::LeftButton);
    QCOMPARE(dialogs->messages.size(), 2);
    QCOMPARE(dialogs->messages.last().text, warning.text);

    // Once a browser can be started again, no warning.
    opener.result = true;
    window->Label12_Click();
    QCOMPARE(opener.asked.size(), 3);
    QCOMPARE(dialogs->messages.size(), 2);
    QVERIFY(browser->opened.isEmpty()); // the scripted opener stood in for the desktop
}

// Without a handler the offscreen platform has no browser to start, which is
// the desktop's own way of failing; on a real desktop this would open one.
void TestPublisherLinks::desktopWithoutBrowserWarns()
{
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        QSKIP("only the offscreen platform is sure to have no browser");
    QDesktopServices::unsetUrlHandler("http");
    makeWindow();

    window->Label19_Click();
    QCOMPARE(dialogs->messages.size(), 1);
    QCOMPARE(dialogs->messages.first().icon, ui::Dialogs::Icon::Exclamation);
    QVERIFY(dialogs->messages.first().text.contains(publisher::webAddress()));
    QVERIFY(browser->opened.isEmpty());
}

void TestPublisherLinks::symbolShowsTheContactNotice()
{
    makeWindow();
    const QString notice = QStringLiteral("This is the symbol of Ormandi\r\nContact: contact@ormandi.example");
    QTest::mouseClick(label("Image3(0)"), Qt::LeftButton);
    QTest::mouseClick(label("Image3(1)"), Qt::LeftButton);
    QCOMPARE(dialogs->messages.size(), 2);
    for (const testing::ShownMessage &shown : dialogs->messages) {
        QCOMPARE(shown.text, notice);
        QCOMPARE(shown.icon, ui::Dialogs::Icon::Information);
        QCOMPARE(shown.buttons, ui::Dialogs::Buttons::Ok);
        QVERIFY(shown.title.isEmpty());
    }
    // The notice gives the address the e-mail label shows.
    QCOMPARE(label("Label15")->text(), "Email: " + publisher::contactEmail());
    QVERIFY(browser->opened.isEmpty());
}

void TestPublisherLinks::emailLabelDoesNothing()
{
    makeWindow();
    ui::GameLabel *email = label("Label15");
    QTest::mouseClick(email, Qt::LeftButton);
    QTest::mouseDClick(email, Qt::LeftButton);
    QVERIFY(dialogs->messages.isEmpty());
    QVERIFY(browser->opened.isEmpty());
    QVERIFY(!email->testAttribute(Qt::WA_SetCursor));
    QCOMPARE(email->cursor().shape(), Qt::ArrowCursor);
}

QTEST_MAIN(TestPublisherLinks)
#include "tst_publisherlinks.moc"
