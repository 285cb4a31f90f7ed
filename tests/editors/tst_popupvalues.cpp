#include "BcfgBuilder.h"
#include "PopupPosition.h"
#include "PopupTestKit.h"
#include "TBCFGFile.h"
#include "TBcfgRecAll.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <memory>

namespace {
int rightOf(const QWidget* widget)
{
    return widget->x() + widget->width();
}
} // namespace

// What the popups show, how they size themselves, what the wheel does inside them and what
// they hand back to a record's edit.
class TestPopupValues : public QObject
{
    Q_OBJECT
    std::unique_ptr<Popups> m;

private slots:
    void init() { m = std::make_unique<Popups>(); }
    void cleanup() { m.reset(); }

    void integerPopupSizesItselfEachTime()
    {
        TForm0103& form = m->form0103;
        EditorHost::IntegerPopup popup{QStringLiteral("N -"), QStringLiteral("(0 .. 10)"),
                                       QStringLiteral("7"), 0, 10};
        int firstWidth = 0;
        PopupUser user(&form, {[&] {
                                   QCOMPARE(form.Edit1->x(), form.Label2->width() + 8);
                                   QCOMPARE(form.Label1->x(), rightOf(form.Edit1) + 8);
                                   QCOMPARE(form.width(), rightOf(form.Label1) + 8);
                                   QCOMPARE(form.focusWidget(), form.Edit1);
                                   QCOMPARE(form.Edit1->selectedText(), QStringLiteral("7"));
                                   firstWidth = form.width();
                                   QTest::keyClicks(form.Edit1, "9");
                                   QTest::keyClick(form.Edit1, Qt::Key_Return);
                               },
                               [&] {
                                   // A longer name pushes field and range label to the right.
                                   QCOMPARE(form.Edit1->x(), form.Label2->width() + 8);
                                   QVERIFY(form.width() > firstWidth);
                                   QCOMPARE(form.Edit1->text(), QStringLiteral("7"));
                                   QTest::keyClick(form.Edit1, Qt::Key_Escape);
                               }});
        QString typed;
        QVERIFY(m->host.ShowIntegerPopup(popup, typed));
        QCOMPARE(typed, QStringLiteral("9"));
        popup.nameLabel = QStringLiteral("A much longer name -");
        QVERIFY(!m->host.ShowIntegerPopup(popup, typed));
        QTRY_COMPARE(user.stepsRun(), 2);
        QCOMPARE(typed, QStringLiteral("9"));
    }

    void integerWheel_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("min");
        QTest::addColumn<qint64>("max");
        QTest::addColumn<QString>("over");
        QTest::addColumn<int>("delta");
        QTest::addColumn<QString>("expected");
        QTest::newRow("notch away lowers") << "5" << 0LL << 10LL << "Edit1" << 120 << "4";
        QTest::newRow("notch towards raises") << "5" << 0LL << 10LL << "Label1" << -120 << "6";
        QTest::newRow("two notches at once") << "5" << 0LL << 10LL << "Label2" << 240 << "3";
        QTest::newRow("part of a notch") << "5" << 0LL << 10LL << "Edit1" << 60 << "5";
        QTest::newRow("stays at min") << "1" << 0LL << 10LL << "Edit1" << 240 << "0";
        QTest::newRow("stays at max")
            << "4294967295" << 0LL << 4294967295LL << "Edit1" << -120 << "4294967295";
        QTest::newRow("hex written back decimal")
            << "$A" << 0LL << 100LL << "Edit1" << -120 << "11";
        QTest::newRow("unparsable untouched") << "abc" << 0LL << 10LL << "Edit1" << 120 << "abc";
    }
    void integerWheel()
    {
        QFETCH(QString, text);
        QFETCH(qint64, min);
        QFETCH(qint64, max);
        QFETCH(QString, over);
        QFETCH(int, delta);
        QFETCH(QString, expected);
        TForm0103& form = m->form0103;
        PopupUser user(&form, {[&] {
            rollWheel(form.findChild<QWidget*>(over), delta);
            QCOMPARE(form.Edit1->text(), expected);
            QCOMPARE(form.Edit1->selectedText(), expected);
            QVERIFY(form.isVisible());
            QTest::keyClick(form.Edit1, Qt::Key_Return);
        }});
        QString typed;
        QVERIFY(m->host.ShowIntegerPopup({QStringLiteral("N -"), {}, text, min, max}, typed));
        QTRY_COMPARE(user.stepsRun(), 1);
        QCOMPARE(typed, expected);
    }

    void coordinatesWheelStepsTheFocusedField_data()
    {
        QTest::addColumn<bool>("second");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("delta");
        QTest::addColumn<QString>("expected");
        QTest::newRow("x up") << false << "7" << -120 << "8";
        QTest::newRow("x stays at 0") << false << "0" << 120 << "0";
        QTest::newRow("y up to 512") << true << "511" << -240 << "512";
        QTest::newRow("y stays at 512") << true << "512" << -120 << "512";
    }
    void coordinatesWheelStepsTheFocusedField()
    {
        QFETCH(bool, second);
        QFETCH(QString, text);
        QFETCH(int, delta);
        QFETCH(QString, expected);
        TForm07& form = m->form07;
        QLineEdit* const stepped = second ? form.Edit2 : form.Edit1;
        QLineEdit* const other = second ? form.Edit1 : form.Edit2;
        PopupUser user(&form, {[&] {
            QCOMPARE(form.Edit1->x(), form.Label1->width() + 2);
            QCOMPARE(form.Label2->x(), rightOf(form.Edit1) + 4);
            QCOMPARE(form.Edit2->x(), rightOf(form.Label2) + 2);
            QCOMPARE(form.width(), rightOf(form.Edit2));
            QTest::mouseClick(stepped, Qt::LeftButton);
            // The focused field steps, wherever the mouse is.
            rollWheel(other, delta);
            QTest::keyClick(stepped, Qt::Key_Return);
        }});
        QString x, y;
        const QString& start = text;
        QVERIFY(m->host.ShowCoordinatesPopup(QStringLiteral("P - X:"), second ? "-3" : start,
                                             second ? start : "-3", x, y));
        QTRY_COMPARE(user.stepsRun(), 1);
        QCOMPARE(second ? y : x, expected);
        QCOMPARE(second ? x : y, QStringLiteral("-3"));
    }

    void fourFieldWheelBounds_data()
    {
        QTest::addColumn<bool>("colour");
        QTest::addColumn<int>("wheelMax");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("colour red to 255") << true << 255 << 0 << "254"
                                           << "255";
        QTest::newRow("colour red stays at 255") << true << 255 << 0 << "255"
                                                 << "255";
        QTest::newRow("colour alpha stays at 100") << true << 255 << 3 << "100"
                                                   << "100";
        QTest::newRow("colour alpha to 100") << true << 255 << 3 << "99"
                                             << "100";
        // The popup is told it edits a colour; its wheel limit does not decide that.
        QTest::newRow("colour alpha to 100 under a wider wheel") << true << 512 << 3 << "99"
                                                                 << "100";
        QTest::newRow("rect fourth past 100") << false << 512 << 3 << "100"
                                              << "102";
        QTest::newRow("rect fourth past 100 under a colour's wheel") << false << 255 << 3 << "100"
                                                                     << "102";
        QTest::newRow("rect stays at 512") << false << 512 << 1 << "512"
                                           << "512";
    }
    void fourFieldWheelBounds()
    {
        QFETCH(bool, colour);
        QFETCH(int, wheelMax);
        QFETCH(int, field);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        TForm080E& form = m->form080E;
        using Mode = EditorHost::FourFieldPopup::Mode;
        EditorHost::FourFieldPopup popup{colour ? Mode::Colour : Mode::Rectangle,
                                         {"C - R:", "G:", "B:", "A:"},
                                         {"1", "2", "3", "4"},
                                         wheelMax};
        popup.values[size_t(field)] = text;
        PopupUser user(&form, {[&] {
            int left = 0;
            for (size_t i = 0; i < 4; ++i) {
                QCOMPARE(form.labels()[i]->x(), left);
                QCOMPARE(form.fields()[i]->x(), rightOf(form.labels()[i]) + 2);
                left = rightOf(form.fields()[i]) + 4;
            }
            QCOMPARE(form.width(), rightOf(form.Edit4));
            QLineEdit* const stepped = form.fields()[size_t(field)];
            QTest::mouseClick(stepped, Qt::LeftButton);
            rollWheel(stepped, -120);
            rollWheel(stepped, -120);
            QTest::keyClick(stepped, Qt::Key_Return);
        }});
        std::array<QString, 4> typed;
        QVERIFY(m->host.ShowFourFieldPopup(popup, typed));
        QTRY_COMPARE(user.stepsRun(), 1);
        QCOMPARE(typed[size_t(field)], expected);
    }

    void wheelKeepsWhatTheRecordAccepts_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("delta");
        QTest::newRow("x at the int32 maximum, towards the user")
            << BcfgBuilder().coordinates("P", 1, 2).bytes() << "Edit1"
            << "2147483647" << -120;
        QTest::newRow("y at the int32 minimum, away from the user")
            << BcfgBuilder().coordinates("P", 1, 2).bytes() << "Edit2"
            << "-2147483648" << 120;
        QTest::newRow("rectangle at 65534, towards the user")
            << BcfgBuilder().rect("R", 1, 2, 3, 4).bytes() << "Edit3"
            << "65534" << -120;
    }
    void wheelKeepsWhatTheRecordAccepts()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(int, delta);
        auto doc = TBCFGFile::FromBytes(bytes, nullptr, nullptr);
        TBcfgRecAll* const record = doc->Record(0);
        QDialog* const form = record->TypeCode == 7 ? static_cast<QDialog*>(&m->form07)
                                                    : static_cast<QDialog*>(&m->form080E);
        auto* const edit = form->findChild<QLineEdit*>(field);
        PopupUser user(form, {[&] {
                           QTest::mouseClick(edit, Qt::LeftButton);
                           edit->selectAll();
                           QTest::keyClicks(edit, text);
                           rollWheel(edit, delta);
                           QCOMPARE(edit->text(), text);
                           QTest::keyClick(edit, Qt::Key_Return);
                       }});
        record->Edit(m->host);
        QTRY_COMPARE(user.stepsRun(), 1);
        QVERIFY(!user.leftOpen()); // the record took the value: no second showing
        QVERIFY(record->DisplayText().contains(text.toLatin1()));
    }

    void textFieldShowsTheWholeValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("short: the design's width") << "old";
        QTest::newRow("long: wider") << "4:\\Zbin\\ClockBat\\Будильник на каждое утро.mp3";
    }
    void textFieldShowsTheWholeValue()
    {
        QFETCH(QString, text);
        TForm0204& form = m->form0204;
        PopupLeft = PopupTop = 0;
        EditorHost::StringPopup popup{QStringLiteral("Мелодия -"), text, 100, {}};
        int width = 0;
        int textWidth = 0;
        PopupUser user(&form, {[&] {
            width = form.Edit1->width();
            textWidth = form.Edit1->fontMetrics().horizontalAdvance(text);
            QCOMPARE(form.width(), rightOf(form.Edit1));
            QTest::keyClick(form.Edit1, Qt::Key_Escape);
        }});
        QString typed;
        QVERIFY(!m->host.ShowStringPopup(popup, typed));
        QTRY_COMPARE(user.stepsRun(), 1);
        QVERIFY2(width >= qMax(177, textWidth + 8), qPrintable(QString::number(width)));
        if (textWidth < 150)
            QCOMPARE(width, 177);
    }

    void tooLongTextIsCutAndThePopupStaysOpen_data()
    {
        QTest::addColumn<bool>("withCallback");
        QTest::newRow("fitting length asked") << true;
        QTest::newRow("text limit alone") << false;
    }
    void tooLongTextIsCutAndThePopupStaysOpen()
    {
        QFETCH(bool, withCallback);
        TForm0204& form = m->form0204;
        EditorHost::StringPopup popup{QStringLiteral("S -"), QStringLiteral("old"), 8, {}};
        if (withCallback)
            popup.fittingLength = [](const QString& text) {
                return qMin(text.size(), qsizetype(8));
            };
        PopupUser user(&form, {[&] {
            QCOMPARE(form.Edit1->x(), form.Label1->width() + 8);
            QCOMPARE(form.width(), rightOf(form.Edit1));
            QCOMPARE(form.Edit1->selectedText(), QStringLiteral("old"));
            QTest::keyClicks(form.Edit1, "abcdefghij");
            QTest::keyClick(form.Edit1, Qt::Key_Return);
            QVERIFY(form.isVisible());
            QCOMPARE(form.Edit1->text(), QStringLiteral("abcdefgh"));
            doubleClick(form.Edit1);
        }});
        QString typed;
        QVERIFY(m->host.ShowStringPopup(popup, typed));
        QTRY_COMPARE(user.stepsRun(), 1);
        QCOMPARE(typed, QStringLiteral("abcdefgh"));
    }

    void stringRecordCutsToWhatItsBufferHolds()
    {
        // Eight payload bytes hold seven characters and the zero byte.
        auto doc =
            TBCFGFile::FromBytes(BcfgBuilder().text(4, "S", 7, "old").bytes(), nullptr, nullptr);
        TForm0204& form = m->form0204;
        PopupUser user(&form, {[&] {
            QTest::keyClicks(form.Edit1, "abcdefghij");
            QTest::keyClick(form.Edit1, Qt::Key_Return);
            QCOMPARE(form.Edit1->text(), QStringLiteral("abcdefg"));
            QTest::keyClick(form.Edit1, Qt::Key_Return);
        }});
        doc->Record(0)->Edit(m->host);
        QTRY_COMPARE(user.stepsRun(), 1);
        QVERIFY(!user.leftOpen());
        QCOMPARE(doc->Record(0)->DisplayText(), QByteArray("S - [ abcdefg ]"));
    }

    void timeFieldReadsHourAndMinuteByPosition_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("four digits") << "0905"
                                     << "09:05";
        QTest::newRow("typed colon") << "12:30"
                                     << "12:30";
        QTest::newRow("one-digit hour") << "9:05"
                                        << " 9:05";
        QTest::newRow("minute missing") << "9"
                                        << " 9:__";
    }
    void timeFieldReadsHourAndMinuteByPosition()
    {
        QFETCH(QString, keys);
        QFETCH(QString, expected);
        TForm0C& form = m->form0C;
        PopupUser user(&form, {[&] {
            QCOMPARE(form.MaskEdit1->text(), QStringLiteral("07:00"));
            QCOMPARE(form.MaskEdit1->selectedText(), QStringLiteral("07:00"));
            QCOMPARE(form.MaskEdit1->x(), form.Label1->width() + 12);
            QCOMPARE(form.width(), rightOf(form.MaskEdit1) + 8);
            QTest::keyClicks(form.MaskEdit1, keys);
            QTest::keyClick(form.MaskEdit1, Qt::Key_Return);
        }});
        QString typed;
        QVERIFY(m->host.ShowTimePopup(QStringLiteral("T -"), QStringLiteral("07:00"), typed));
        QTRY_COMPARE(user.stepsRun(), 1);
        QCOMPARE(typed, expected);
    }

    void timeRecordAsksAgainUntilTheTimeIsValid()
    {
        auto doc = TBCFGFile::FromBytes(BcfgBuilder().time("T", 7, 0).bytes(), nullptr, nullptr);
        TForm0C& form = m->form0C;
        const auto typeAndEnter = [&form](const char* keys) {
            return [&form, keys] {
                QCOMPARE(form.MaskEdit1->text(), QStringLiteral("07:00"));
                QTest::keyClicks(form.MaskEdit1, keys);
                QTest::keyClick(form.MaskEdit1, Qt::Key_Return);
            };
        };
        PopupUser user(&form, {typeAndEnter("24:00"), typeAndEnter("12:60"), typeAndEnter("9:05")});
        doc->Record(0)->Edit(m->host);
        QTRY_COMPARE(user.stepsRun(), 3);
        QCOMPARE(doc->Record(0)->DisplayText(), QByteArray("T - [ 9:05 ]"));
    }

    void listShowsEveryEntry_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("one") << 1;
        QTest::newRow("twelve") << 12;
    }
    void listShowsEveryEntry()
    {
        QFETCH(int, count);
        TForm05& form = m->form05;
        QStringList items;
        for (int i = 0; i < count; ++i)
            items << QStringLiteral("entry %1").arg(i);
        PopupUser user(&form, {[&] {
            QCOMPARE(form.ListBox1->height(), count * TForm05::ItemHeight + 4);
            QCOMPARE(form.size(), form.ListBox1->size());
            const QRect last = form.ListBox1->visualItemRect(form.ListBox1->item(count - 1));
            QVERIFY(form.ListBox1->viewport()->rect().contains(last));
            QCOMPARE(form.ListBox1->verticalScrollBar()->maximum(), 0);
            QTest::keyClick(form.ListBox1, Qt::Key_Escape);
        }});
        int chosen = 0;
        QVERIFY(!m->host.ShowChoicePopup(items, 0, chosen));
        QTRY_COMPARE(user.stepsRun(), 1);
    }

    void listWheelMovesTheSelectionWithoutWrapping_data()
    {
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("chosen");
        QTest::newRow("last stays last") << 2 << -120 << 2;
        QTest::newRow("first stays first") << 0 << 120 << 0;
        QTest::newRow("two notches down") << 0 << -240 << 2;
        QTest::newRow("one notch up") << 2 << 120 << 1;
        QTest::newRow("part of a notch") << 1 << 60 << 1;
        QTest::newRow("none, then first") << -1 << -120 << 0;
        QTest::newRow("none stays none") << 5 << 120 << -1;
    }
    void listWheelMovesTheSelectionWithoutWrapping()
    {
        QFETCH(int, selected);
        QFETCH(int, delta);
        QFETCH(int, chosen);
        TForm05& form = m->form05;
        PopupUser user(&form, {[&] {
            rollWheel(form.ListBox1->viewport(), delta);
            QTest::keyClick(form.ListBox1, Qt::Key_Return);
        }});
        int answer = 99;
        QVERIFY(m->host.ShowChoicePopup({"a", "b", "c"}, selected, answer));
        QTRY_COMPARE(user.stepsRun(), 1);
        QCOMPARE(answer, chosen);
    }

    void calendarShowsTheDateAndEnterTakesTheChosenOne_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("key");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("a day on") << QDate(2007, 12, 31) << int(Qt::Key_Right) << QDate(2008, 1, 1);
        // A date record holds years 1 to 9999 only.
        QTest::newRow("not past 31.12.9999")
            << QDate(9999, 12, 31) << int(Qt::Key_Right) << QDate(9999, 12, 31);
        QTest::newRow("not before 1.01.0001")
            << QDate(1, 1, 1) << int(Qt::Key_Left) << QDate(1, 1, 1);
        QTest::newRow("not a week before 1.01.0001")
            << QDate(1, 1, 3) << int(Qt::Key_Up) << QDate(1, 1, 1);
    }
    void calendarShowsTheDateAndEnterTakesTheChosenOne()
    {
        QFETCH(QDate, date);
        QFETCH(int, key);
        QFETCH(QDate, expected);
        TForm0D& form = m->form0D;
        QCalendarWidget* const calendar = form.MonthCalendar1;
        PopupUser user(&form, {[&] {
            QCOMPARE(calendar->geometry(), form.rect());
            QVERIFY(form.width() >= calendar->minimumSizeHint().width());
            QCOMPARE(calendar->monthShown(), date.month());
            QCOMPARE(form.focusWidget(), calendar->focusProxy());
            QTest::keyClick(calendar->focusProxy(), Qt::Key(key));
            QTest::keyClick(calendar->focusProxy(), Qt::Key_Return);
        }});
        QDate chosen;
        QVERIFY(m->host.ShowDatePopup(date, chosen));
        QTRY_COMPARE(user.stepsRun(), 1);
        QCOMPARE(chosen, expected);
    }
};

QTEST_MAIN(TestPopupValues)
#include "tst_popupvalues.moc"
