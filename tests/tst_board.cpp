// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: 2026 The Tavrolin developers

// The rules of a hit that need no window: reading texts as numbers, the
// clock digit, the random part and the renumbering of both series.

#include "game/board.h"
#include "game/random.h"
#include "game/textvalue.h"

#include <QSet>
#include <QTest>

using namespace game;

class TestBoard : public QObject
{
    Q_OBJECT
private slots:
    void textValue_data();
    void textValue();
    void clockDigit_data();
    void clockDigit();
    void randomPartRoundsHalvesToEven();
    void randomPartOffHalves();
    void workedRenumbering();
    void everyStartKeepsBothSeriesComplete();
    void labelArithmetic();
    void unseededGeneratorRepeatsAndStaysInRange();
};

void TestBoard::textValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("digits") << "12" << 12;
    QTest::newRow("negative") << "-6" << -6;
    QTest::newRow("minus zero") << "-0" << 0;
    QTest::newRow("trailing junk") << "-6abc" << -6;
    QTest::newRow("word") << "Score" << 0;
    QTest::newRow("attempts") << "Attempts" << 0;
    QTest::newRow("X") << "X" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("lone minus") << "-" << 0;
    QTest::newRow("leading space is not a number") << " 5" << 0;
    QTest::newRow("plus sign is not a number") << "+5" << 0;
    QTest::newRow("stops at dot") << "3.9" << 3;
    QTest::newRow("three digits of a longer text") << "170 points" << 170;
    QTest::newRow("saturates high") << "999999" << 32767;
    QTest::newRow("saturates low") << "-999999" << -32768;
}

void TestBoard::textValue()
{
    QFETCH(QString, text);
    QFETCH(int, value);
    QCOMPARE(int(game::textValue(text)), value);
}

void TestBoard::clockDigit_data()
{
    QTest::addColumn<float>("seconds");
    QTest::addColumn<int>("digit");
    // Midnight and single hundredths.
    QTest::newRow("midnight") << 0.0f << 0;
    QTest::newRow("0.07 s") << 0.07f << 7;
    // Before 02:46:40 the product is below a million, so its seventh
    // significant digit is a fraction: 12.345 s gives "1234.5".
    QTest::newRow("fraction shows") << 12.345f << 5;
    // 5000.01 s: the single-precision product is 500000.96875, which seven
    // digits write as "500001" - truncating would say 0.
    QTest::newRow("rounded by seven digits") << 5000.01f << 1;
    // 02:46:40 exactly: "1000000".
    QTest::newRow("02:46:40") << 10000.0f << 0;
    // 12:34:56.78 -> 4529678.
    QTest::newRow("afternoon") << 45296.78f << 8;
    // The last hundredth of the day -> 8639999.
    QTest::newRow("23:59:59.99") << 86399.99f << 9;
}

void TestBoard::clockDigit()
{
    QFETCH(float, seconds);
    QFETCH(int, digit);
    QCOMPARE(int(game::clockDigit(seconds)), digit);
}

void TestBoard::randomPartRoundsHalvesToEven()
{
    // 0.05 -> 0.5 -> 0, 0.25 -> 2.5 -> 2, 0.35 -> 3.5 -> 4, ... 0.95 -> 9.5 -> 10.
    const int expected[10] = {0, 2, 2, 4, 4, 6, 6, 8, 8, 10};
    for (int k = 0; k < 10; ++k) {
        const float fraction = float(2 * k + 1) / 20.0f;
        QCOMPARE(int(game::randomPart(fraction)), expected[k]);
    }
}

void TestBoard::randomPartOffHalves()
{
    QCOMPARE(int(game::randomPart(0.0f)), 0);
    QCOMPARE(int(game::randomPart(0.049f)), 0);
    QCOMPARE(int(game::randomPart(0.051f)), 1);
    QCOMPARE(int(game::randomPart(0.44f)), 4);
    QCOMPARE(int(game::randomPart(0.46f)), 5);
    QCOMPARE(int(game::randomPart(0.9999999f)), 10);
    QCOMPARE(int(game::startDigit(10, 9)), 9);
    QCOMPARE(int(game::startDigit(4, 7)), 1);
    QCOMPARE(int(game::startDigit(0, 0)), 0);
}

void TestBoard::workedRenumbering()
{
    // Random part 4 and clock digit 7 start the running digit at 1.
    const Numbering n = game::renumber(game::startDigit(4, 7));
    const QStringList first = {"-2", "3", "-4", "5", "-6", "7", "-8", "9", "-0", "1"};
    const QStringList second = {"7", "-6", "5", "-4", "3", "-2", "1", "-0", "9", "-8"};
    for (int i = 0; i < 10; ++i) {
        QCOMPARE(n.first[size_t(i)], first[i]);
        QCOMPARE(n.second[size_t(i)], second[i]);
    }
    QCOMPARE(int(game::textValue(n.first[3])), 5);
    QCOMPARE(int(game::textValue(n.second[7])), 0);
}

void TestBoard::everyStartKeepsBothSeriesComplete()
{
    const QSet<QString> all = {"-0", "1", "-2", "3", "-4", "5", "-6", "7", "-8", "9"};
    for (qint16 start = 0; start < 10; ++start) {
        const Numbering n = game::renumber(start);
        QSet<QString> firstSeen, secondSeen;
        for (int i = 0; i < 10; ++i) {
            const QString a = n.first[size_t(i)];
            const QString b = n.second[size_t(i)];
            firstSeen.insert(a);
            secondSeen.insert(b);
            const int digitA = a.back().digitValue();
            const int digitB = b.back().digitValue();
            QCOMPARE(digitB, 9 - digitA);
            // The minus sign stands exactly on the even digits.
            QCOMPARE(a.startsWith('-'), digitA % 2 == 0);
            QCOMPARE(b.startsWith('-'), digitB % 2 == 0);
            // The first series runs upward around the digits.
            const int next = n.first[size_t((i + 1) % 10)].back().digitValue();
            QCOMPARE(next, (digitA + 1) % 10);
        }
        QCOMPARE(firstSeen, all);
        QCOMPARE(secondSeen, all);
        QCOMPARE(n.first[0].back().digitValue(), (start + 1) % 10);
    }
}

void TestBoard::labelArithmetic()
{
    QCOMPARE(game::addToText("Score", 7), QString("7"));
    QCOMPARE(game::addToText("Score", -8), QString("-8"));
    QCOMPARE(game::addToText("3", -6), QString("-3"));
    QCOMPARE(game::addToText("-3", 0), QString("-3"));
    QCOMPARE(game::addToText("Attempts", 1), QString("1"));
    QCOMPARE(game::addToText("9", 1), QString("10"));
    QCOMPARE(game::historyGroup(7) + game::historyGroup(-4) + game::historyGroup(0), QString("+(7)+(-4)+(0)"));
    QCOMPARE(game::turnPrompt("anna"), QString("ITS TURN OF anna"));
    QCOMPARE(game::gameOverMessage(),
             QString("Both of you have finished your allotted attempts.\r\nReset to start a new Game."));
}

void TestBoard::unseededGeneratorRepeatsAndStaysInRange()
{
    UnseededRandom a, b;
    QSet<int> parts;
    for (int i = 0; i < 2000; ++i) {
        const float x = a.next();
        QCOMPARE(x, b.next()); // the same sequence in every run
        QVERIFY(x >= 0.0f && x < 1.0f);
        parts.insert(game::randomPart(x));
    }
    QCOMPARE(parts.size(), 11); // every random part 0..10 turns up
}

QTEST_APPLESS_MAIN(TestBoard)
#include "tst_board.moc"
