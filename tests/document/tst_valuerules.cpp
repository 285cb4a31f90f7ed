#include "BcfgError.h"
#include "ErrorOf.h"
#include "ValueRules.h"

#include <QTest>

using namespace ValueRules;

class TestValueRules : public QObject
{
    Q_OBJECT

private slots:
    void parseInt32_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint32>("value");
        QTest::newRow("plain") << "42" << true << 42;
        QTest::newRow("leading blanks and sign") << "  -17" << true << -17;
        QTest::newRow("plus") << "+5" << true << 5;
        QTest::newRow("dollar hex") << "$1F" << true << 31;
        QTest::newRow("x hex") << "x10" << true << 16;
        QTest::newRow("X hex") << "Xff" << true << 255;
        QTest::newRow("0x hex") << "0x20" << true << 32;
        QTest::newRow("0X hex") << "0XA" << true << 10;
        QTest::newRow("negative hex") << "-$10" << true << -16;
        QTest::newRow("hex full width") << "$FFFFFFFF" << true << -1;
        QTest::newRow("min") << "-2147483648" << true << qint32(-2147483647 - 1);
        QTest::newRow("max") << "2147483647" << true << 2147483647;
        QTest::newRow("overflow") << "2147483648" << false << 0;
        QTest::newRow("hex overflow") << "$100000000" << false << 0;
        QTest::newRow("trailing blank") << "5 " << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("blanks only") << "   " << false << 0;
        QTest::newRow("sign only") << "-" << false << 0;
        QTest::newRow("prefix only") << "$" << false << 0;
        QTest::newRow("letters") << "12a" << false << 0;
        QTest::newRow("bad hex digit") << "0xG" << false << 0;
    }
    void parseInt32()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(qint32, value);
        const auto parsed = ParseInt32(text);
        QCOMPARE(parsed.has_value(), ok);
        if (ok)
            QCOMPARE(*parsed, value);
    }

    void parseInt64Widths()
    {
        QCOMPARE(ParseInt64(u"4294967295"), std::optional<qint64>(4294967295LL));
        QCOMPARE(ParseInt64(u"-9223372036854775808"),
                 std::optional<qint64>(std::numeric_limits<qint64>::min()));
        QVERIFY(!ParseInt64(u"9223372036854775808"));
        QCOMPARE(ParseInt64(u"$FFFFFFFF"), std::optional<qint64>(4294967295LL));
    }

    void wheelSteps()
    {
        QCOMPARE(WheelSteps(120), -1); // away from the user lowers
        QCOMPARE(WheelSteps(-120), 1);
        QCOMPARE(WheelSteps(-240), 2);
        QCOMPARE(WheelSteps(60), 0);
        QCOMPARE(WheelSteps(-239), 1);
    }

    void integerSteps()
    {
        QCOMPARE(StepWord(5, 0, 10, 3), 8u);
        QCOMPARE(StepWord(9, 0, 10, 3), 10u); // stops at Max
        QCOMPARE(StepWord(1, 0, 10, -3), 0u);
        QCOMPARE(StepWord(0xFFFFFFFF, 0xFFFFFFFB, 5, 2), 1u); // signed -1 .. 5 as words
        QCOMPARE(StepBounded(0, 0, 512, -1), 0);
        QCOMPARE(StepBounded(510, 0, 512, 5), 512);
        QCOMPARE(StepBounded(std::numeric_limits<qint64>::max(), 0, -1, 1),
                 std::numeric_limits<qint64>::max());
    }

    void stepsWithinWhatTheFieldAccepts_data()
    {
        QTest::addColumn<qint64>("value");
        QTest::addColumn<qint64>("max");
        QTest::addColumn<qint64>("lowest");
        QTest::addColumn<qint64>("highest");
        QTest::addColumn<int>("steps");
        QTest::addColumn<qint64>("expected");
        const qint64 int32Min = std::numeric_limits<qint32>::min();
        const qint64 int32Max = std::numeric_limits<qint32>::max();
        // min is 0 in every row, as in the popups.
        QTest::newRow("inside stops at max")
            << 510LL << 512LL << int32Min << int32Max << 5 << 512LL;
        QTest::newRow("above max steps on")
            << 1000LL << 512LL << int32Min << int32Max << 2 << 1002LL;
        QTest::newRow("below min steps on") << -5LL << 512LL << int32Min << int32Max << -2 << -7LL;
        QTest::newRow("coordinate at int32 max")
            << int32Max << 512LL << int32Min << int32Max << 1 << int32Max;
        QTest::newRow("coordinate to int32 max")
            << int32Max - 1 << 512LL << int32Min << int32Max << 3 << int32Max;
        QTest::newRow("coordinate at int32 min")
            << int32Min << 512LL << int32Min << int32Max << -1 << int32Min;
        QTest::newRow("coordinate at int32 max steps back")
            << int32Max << 512LL << int32Min << int32Max << -1 << int32Max - 1;
        QTest::newRow("rect to 65534") << 65532LL << 512LL << 0LL << 65534LL << 5 << 65534LL;
        QTest::newRow("rect at 65534") << 65534LL << 512LL << 0LL << 65534LL << 1 << 65534LL;
        QTest::newRow("rect below 0 never further")
            << -3LL << 512LL << 0LL << 65534LL << -1 << -3LL;
        QTest::newRow("rect below 0 steps back") << -3LL << 512LL << 0LL << 65534LL << 2 << -1LL;
        QTest::newRow("colour above 255 never further")
            << 300LL << 255LL << 0LL << 255LL << 1 << 300LL;
        QTest::newRow("colour above 255 steps back")
            << 300LL << 255LL << 0LL << 255LL << -2 << 298LL;
        QTest::newRow("alpha stops at 100") << 98LL << 100LL << 0LL << 100LL << 5 << 100LL;
        QTest::newRow("alpha at 0") << 0LL << 100LL << 0LL << 100LL << -1 << 0LL;
    }
    void stepsWithinWhatTheFieldAccepts()
    {
        QFETCH(qint64, value);
        QFETCH(qint64, max);
        QFETCH(qint64, lowest);
        QFETCH(qint64, highest);
        QFETCH(int, steps);
        QFETCH(qint64, expected);
        QCOMPARE(StepBounded(value, 0, max, steps, lowest, highest), expected);
    }

    void choiceWraps()
    {
        QCOMPARE(StepChoice(2, 3, 1), 0);
        QCOMPARE(StepChoice(0, 3, -1), 2);
        QCOMPARE(StepChoice(1, 3, -7), 0);
        QCOMPARE(StepChoice(-2147483647 - 1, 3, -1), 0); // damaged index: no long loop
    }

    void checkBoxToggles()
    {
        QCOMPARE(StepCheckBox(1, 1), 0u);
        QCOMPARE(StepCheckBox(0, -1), 1u);
        QCOMPARE(StepCheckBox(7, 1), 1u);
        QCOMPARE(StepCheckBox(1, 2), 1u);
    }

    void timeSteps()
    {
        const auto check = [](int h, int m, int steps, int eh, int em) {
            const Time t = StepTime(qint8(h), qint8(m), steps);
            QCOMPARE(int(t.hour), eh);
            QCOMPARE(int(t.minute), em);
        };
        check(23, 59, 1, 0, 0);
        check(0, 0, -1, 23, 59);
        check(9, 5, 2, 9, 7);
        check(10, 30, -45, 9, 45);
    }

    void dates()
    {
        QCOMPARE(EncodeDate(2007, 12, 31).addDays(1), QDate(2008, 1, 1));
        QCOMPARE(EncodeDate(2008 + 65536, 3, 7), QDate(2008, 3, 7)); // low 16 bits of the year
        for (auto [y, m, d] :
             {std::tuple{2007, 2, 29}, {0, 1, 1}, {10000, 1, 1}, {2000, 13, 1}, {2000, -1, 1}}) {
            QCOMPARE(errorOf([&] { EncodeDate(y, qint8(m), qint8(d)); }),
                     QStringLiteral("Invalid argument to date encode"));
        }
        const StoredDate before = SplitDate(QDate(1, 1, 1).addDays(-1));
        QCOMPARE(before.year, 0);
        QCOMPARE(int(before.month), 0);
        QCOMPARE(int(before.day), 0);
        const StoredDate d = SplitDate(QDate(2008, 1, 1));
        QCOMPARE(d.year, 2008);
        QCOMPARE(int(d.month), 1);
    }

    void dateSteps_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("into the next year") << QDate(2007, 12, 31) << 1 << QDate(2008, 1, 1);
        QTest::newRow("back a month") << QDate(2008, 3, 1) << -29 << QDate(2008, 2, 1);
        QTest::newRow("stops at 31.12.9999") << QDate(9999, 12, 29) << 5 << QDate(9999, 12, 31);
        QTest::newRow("stays at 31.12.9999") << QDate(9999, 12, 31) << 1 << QDate(9999, 12, 31);
        QTest::newRow("back from 31.12.9999") << QDate(9999, 12, 31) << -1 << QDate(9999, 12, 30);
        QTest::newRow("stops at 1.01.0001") << QDate(1, 1, 3) << -5 << QDate(1, 1, 1);
        QTest::newRow("stays at 1.01.0001") << QDate(1, 1, 1) << -1 << QDate(1, 1, 1);
        QTest::newRow("the widest step")
            << QDate(2000, 1, 1) << std::numeric_limits<int>::max() << QDate(9999, 12, 31);
    }
    void dateSteps()
    {
        QFETCH(QDate, date);
        QFETCH(int, steps);
        QFETCH(QDate, expected);
        const QDate stepped = StepDate(date, steps);
        QCOMPARE(stepped, expected);
        // What is stored can be edited again.
        const StoredDate stored = SplitDate(stepped);
        QCOMPARE(EncodeDate(stored.year, stored.month, stored.day), stepped);
    }

    void typedTimes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minutes"); // -1: refused
        QTest::newRow("09:05") << "09:05" << 545;
        QTest::newRow("blank hour") << " 9:05" << 545;
        QTest::newRow("23:59") << "23:59" << 1439;
        QTest::newRow("24:00") << "24:00" << -1;
        QTest::newRow("12:60") << "12:60" << -1;
        QTest::newRow("unfilled") << "__:__" << -1;
        QTest::newRow("short") << "9:5" << -1;
    }
    void typedTimes()
    {
        QFETCH(QString, text);
        QFETCH(int, minutes);
        const auto t = ParseTime(text);
        QCOMPARE(t.has_value(), minutes >= 0);
        if (t)
            QCOMPARE(t->hour * 60 + t->minute, minutes);
    }
};

QTEST_GUILESS_MAIN(TestValueRules)
#include "tst_valuerules.moc"
