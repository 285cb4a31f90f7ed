#include "TForm2.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

class TestTForm2 : public QObject
{
    Q_OBJECT

private slots:
    void texts()
    {
        TForm2 help;
        QCOMPARE(help.windowTitle(), QStringLiteral("Parvane Help"));
        QCOMPARE(help.PageControl1->tabText(0), QStringLiteral("Russian"));
        QCOMPARE(help.PageControl1->tabText(1), QStringLiteral("English"));
        const QStringList ru = help.Memo1->toPlainText().split('\n');
        QCOMPARE(ru.size(), 23);
        QCOMPARE(ru[21],
                 QString::fromUtf8(
                     "правой кнопкой в форму и выбрав пункт \"Save position\". Для возврата к"));
        const QStringList en = help.Memo2->toPlainText().split('\n');
        QCOMPARE(en.size(), 20);
        // Lines 6, 7, 13, 14, 15, 18 and 19 end in one blank; the others do not.
        for (int i = 0; i < en.size(); ++i) {
            const bool blank = QList<int>{6, 7, 13, 14, 15, 18, 19}.contains(i + 1);
            QVERIFY2(en[i].endsWith(' ') == blank, qPrintable(en[i]));
        }
        QVERIFY(help.Memo1->isReadOnly());
        QVERIFY(!help.Memo2->isReadOnly());
    }

    void keepsItsStateBetweenShowings()
    {
        QWidget parent;
        parent.setGeometry(100, 100, 800, 700);
        TForm2 help(&parent);
        bool done = false;
        QTimer::singleShot(0, [&] {
            QVERIFY(help.isVisible());
            QCOMPARE(help.focusWidget(), help.Button1);
            help.PageControl1->setCurrentIndex(1);
            help.Memo2->appendPlainText("typed");
            help.reject(); // the close box
            done = true;
        });
        QCOMPARE(help.exec(), int(QDialog::Rejected));
        QVERIFY(done);

        done = false;
        QTimer::singleShot(0, [&] {
            QCOMPARE(help.PageControl1->currentIndex(), 1);
            QVERIFY(help.Memo2->toPlainText().endsWith("typed"));
            QTest::mouseClick(help.Button1, Qt::LeftButton);
            done = true;
        });
        QCOMPARE(help.exec(), int(QDialog::Accepted));
        QVERIFY(done);
    }

    void keys()
    {
        QWidget parent;
        TForm2 help(&parent);
        bool done = false;
        QTimer::singleShot(0, [&] {
            // Tab leaves the editable page instead of typing into it; Ctrl+Tab turns the page.
            QTest::keyClick(help.PageControl1, Qt::Key_Tab, Qt::ControlModifier);
            QCOMPARE(help.PageControl1->currentIndex(), 1);
            help.Memo2->setFocus();
            const QString text = help.Memo2->toPlainText();
            QTest::keyClick(help.Memo2, Qt::Key_Tab);
            QCOMPARE(help.Memo2->toPlainText(), text);
            QVERIFY(!help.Memo2->hasFocus());
            // Enter on the focused Close button closes the window.
            help.Button1->setFocus();
            QTest::keyClick(help.Button1, Qt::Key_Return);
            done = true;
        });
        QCOMPARE(help.exec(), int(QDialog::Accepted));
        QVERIFY(done);
    }

    void controlsFollowTheWindow()
    {
        TForm2 help;
        help.show();
        help.resize(738, 582);
        QCOMPARE(help.Button1->geometry(), QRect(628, 539, 89, 33));
        QCOMPARE(help.PageControl1->geometry(), QRect(0, 8, 742, 545));
    }
};

QTEST_MAIN(TestTForm2)
#include "tst_tform2.moc"
