#include "tst_tform1_kit.h"

#include "FindBar.h"
#include "PopupTestKit.h"

#include <QHelpEvent>
#include <QToolTip>

namespace {

QByteArray cp(const char* utf8)
{
    return CodePage::FromUnicode(QString::fromUtf8(utf8));
}

QByteArray document()
{
    BcfgBuilder b;
    b.integer(1, "Alpha", 0, 9, 1)
        .levelBegin(cp("Часы"))
        .integer(1, cp("Будильник"), 0, 9, 2)
        .time(cp("Время"), 7, 30)
        .levelBegin(cp("Вложенная"))
        .integer(3, cp("будильник-2"), quint32(-9), 9, 3)
        .levelEnd()
        .levelEnd();
    // Enough entries for the last one to lie below the visible part of the tree.
    for (int i = 0; i < 60; ++i)
        b.integer(1, "Filler" + QByteArray::number(i), 0, 9, 0);
    b.integer(1, cp("Last БУДИЛЬНИК"), 0, 9, 4);
    b.text(4, "Folder", 31, "4:\\Zbin\\daemons");
    return b.bytes();
}

// The values an import takes over: two changed in different sections, one equal (imported
// only), the rest as they are.
QByteArray importSource()
{
    return BcfgBuilder()
        .integer(1, "Alpha", 0, 9, 1)
        .levelBegin(cp("Часы"))
        .integer(1, cp("Будильник"), 0, 9, 5)
        .levelBegin(cp("Вложенная"))
        .integer(3, cp("будильник-2"), quint32(-9), 9, -4)
        .levelEnd()
        .levelEnd()
        .bytes();
}

// Typed text, character by character, as the keyboard delivers it (Cyrillic included).
void type(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace

class TestTForm1Find : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<TForm1> m_form;

    FindBar* bar() const { return m_form->findChild<FindBar*>(); }
    QString selected() const
    {
        const QList<kit::Entry> items = kit::selected(*m_form);
        return items.isEmpty() ? QString() : items.first()->text(0);
    }
    // Whether the entry is drawn where the user sees it: inside the entries' area, which the
    // bar never covers.
    bool visible(kit::Entry item) const
    {
        MainTree* tree = m_form->TreeView1;
        for (kit::Entry p = item->parent(); p; p = p->parent())
            if (!p->isExpanded())
                return false;
        const QRect row = tree->visualRect(item);
        return !row.isEmpty() && tree->viewport()->rect().contains(row) &&
               (!bar()->isVisible() ||
                !bar()->geometry().intersects(row.translated(tree->viewport()->pos())));
    }
    // The tool tip the tree shows when the mouse rests at pos (viewport coordinates).
    QString hover(QPoint pos)
    {
        QWidget* viewport = m_form->TreeView1->viewport();
        // A tip goes some time after it is told to.
        QToolTip::hideText();
        if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
            return QStringLiteral("(the previous tip stayed)");
        QHelpEvent event(QEvent::ToolTip, pos, viewport->mapToGlobal(pos));
        QApplication::sendEvent(viewport, &event);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }
    QString hover(kit::Entry item)
    {
        m_form->TreeView1->scrollTo(item);
        return hover(m_form->TreeView1->LabelRect(item).center());
    }

private slots:
    void initTestCase()
    {
        kit::startUp();
        m_path = kit::write(m_dir, "find.bcfg", document());
    }
    void init()
    {
        Dialogs::TakeShown();
        m_form = std::make_unique<TForm1>();
        m_form->FormCreate({m_path});
        QVERIFY(kit::showWithTreeFocus(*m_form));
        m_form->TreeView1->setCurrentIndex(kit::entry(*m_form, "Alpha"));
    }
    void cleanup() { m_form.reset(); }

    void findWalksHitsAndEscLeavesTheHitToEdit()
    {
        TForm1& form = *m_form;
        MainTree* tree = form.TreeView1;
        const QRect treeGeometry = tree->geometry();
        QVERIFY(!bar()->isVisible());

        QTest::keyClick(tree, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(bar()->isVisible());
        QVERIFY(bar()->Field()->hasFocus());
        QCOMPARE(tree->geometry(), treeGeometry);
        QVERIFY(tree->rect().contains(bar()->geometry()));

        // The first hit lies in a collapsed section.
        type(bar()->Field(), QStringLiteral("бУдИль"));
        QCOMPARE(selected(), QStringLiteral("Будильник - [ 2 ]"));
        QVERIFY(visible(kit::entry(form, QStringLiteral("Будильник"))));
        QCOMPARE(bar()->Status(), QStringLiteral("1 of 3"));

        const auto press = [this](int key, Qt::KeyboardModifiers modifiers = {}) {
            QTest::keyClick(bar()->Field(), Qt::Key(key), modifiers);
        };
        const QStringList hits{QStringLiteral("Будильник"), QStringLiteral("будильник-2"),
                               QStringLiteral("Last БУДИЛЬНИК")};
        const struct {
            int key;
            Qt::KeyboardModifiers modifiers;
            int hit;
        } walk[] = {{Qt::Key_Return, {}, 1},
                    {Qt::Key_F3, {}, 2},
                    {Qt::Key_F3, {}, 0}, // wraps at the end
                    {Qt::Key_F3, Qt::ShiftModifier, 2},
                    {Qt::Key_Return, Qt::ShiftModifier, 1},
                    {Qt::Key_Enter, {}, 2}};
        for (const auto& step : walk) {
            press(step.key, step.modifiers);
            QVERIFY2(selected().startsWith(hits[step.hit] + " - [ "), qPrintable(selected()));
            QVERIFY(visible(kit::entry(form, hits[step.hit])));
            QCOMPARE(bar()->Status(), QStringLiteral("%1 of 3").arg(step.hit + 1));
        }

        // No hit: the selection stays; taking the letter back finds the selection itself.
        type(bar()->Field(), QStringLiteral("z"));
        QCOMPARE(bar()->Status(), QStringLiteral("not found"));
        QVERIFY(selected().startsWith(hits[2]));
        press(Qt::Key_Backspace);
        QVERIFY(selected().startsWith(hits[2]));
        QCOMPARE(bar()->Status(), QStringLiteral("3 of 3"));

        // The bar covered only the tree's bottom strip and followed the tree's size.
        form.resize(form.size() + QSize(60, 80));
        QCOMPARE(bar()->parentWidget(), tree);
        QCOMPARE(bar()->width(), tree->viewport()->width());
        QCOMPARE(bar()->y(), tree->viewport()->geometry().bottom() + 1);
        QVERIFY(tree->rect().contains(bar()->geometry()));

        press(Qt::Key_Escape);
        QVERIFY(!bar()->isVisible());
        QVERIFY(tree->hasFocus());
        QVERIFY(selected().startsWith(hits[2]));

        Popups popups;
        form.SetEditorHost(&popups.host);
        QString shown;
        ModalPlayer player({[&](QWidget* modal) {
            shown = QString::fromLatin1(modal->metaObject()->className());
            qobject_cast<QDialog*>(modal)->reject();
        }});
        QTest::keyClick(tree, Qt::Key_Return);
        QCOMPARE(player.seen(), 1);
        QCOMPARE(shown, QStringLiteral("TForm0103"));
        form.SetEditorHost(nullptr);
    }

    // Text that matches nothing leaves the selection where the search started, so Enter and
    // Esc act on the entry the user chose, not on one that matched only part of the text.
    void notFoundGoesBackToWhereTheSearchStarted()
    {
        MainTree* tree = m_form->TreeView1;
        const QPalette plain = bar()->Field()->palette();
        tree->setCurrentIndex(kit::entry(*m_form, "Filler1 "));
        QTest::keyClick(tree, Qt::Key_F, Qt::ControlModifier);
        type(bar()->Field(), QStringLiteral("z"));
        QVERIFY(selected().startsWith("Folder"));
        QCOMPARE(bar()->Field()->palette().color(QPalette::Base), plain.color(QPalette::Base));
        type(bar()->Field(), QStringLiteral("zzq"));
        QCOMPARE(bar()->Status(), QStringLiteral("not found"));
        QCOMPARE(selected(), QStringLiteral("Filler1 - [ 0 ]"));
        QVERIFY(visible(kit::entry(*m_form, "Filler1 ")));
        QCOMPARE(bar()->Field()->palette().color(QPalette::Base), FindBar::NotFoundColour());
        QTest::keyClick(bar()->Field(), Qt::Key_Return); // nothing to go to
        QCOMPARE(selected(), QStringLiteral("Filler1 - [ 0 ]"));

        // From the last entry the user went to with Enter, the same.
        bar()->Field()->clear();
        type(bar()->Field(), QStringLiteral("filler2"));
        QCOMPARE(selected(), QStringLiteral("Filler2 - [ 0 ]"));
        QTest::keyClick(bar()->Field(), Qt::Key_Return);
        QCOMPARE(selected(), QStringLiteral("Filler20 - [ 0 ]"));
        type(bar()->Field(), QStringLiteral("x"));
        QCOMPARE(selected(), QStringLiteral("Filler20 - [ 0 ]"));
        QTest::keyClick(bar()->Field(), Qt::Key_Backspace);
        QCOMPARE(selected(), QStringLiteral("Filler20 - [ 0 ]"));
        QCOMPARE(bar()->Status(), QStringLiteral("2 of 11"));
        QCOMPARE(bar()->Field()->palette().color(QPalette::Base), plain.color(QPalette::Base));
        QTest::keyClick(bar()->Field(), Qt::Key_Escape);
        QCOMPARE(selected(), QStringLiteral("Filler20 - [ 0 ]"));
    }

    // Sections the search opened on its way close again when it ends without a hit; a hit
    // that is kept keeps its sections open.
    void sectionsOpenedOnTheWayCloseAgain()
    {
        MainTree* tree = m_form->TreeView1;
        const kit::Entry clock = kit::entry(*m_form, QStringLiteral("Часы"));
        const kit::Entry nested = kit::entry(*m_form, QStringLiteral("Вложенная"));
        tree->collapseAll();
        tree->setCurrentIndex(kit::entry(*m_form, "Filler1 "));
        QTest::keyClick(tree, Qt::Key_F, Qt::ControlModifier);
        type(bar()->Field(), QStringLiteral("ник-"));
        QVERIFY(selected().startsWith(QStringLiteral("будильник-2")));
        QVERIFY(clock->isExpanded() && nested->isExpanded());
        type(bar()->Field(), QStringLiteral("x"));
        QCOMPARE(bar()->Status(), QStringLiteral("not found"));
        QCOMPARE(selected(), QStringLiteral("Filler1 - [ 0 ]"));
        QVERIFY(!clock->isExpanded() && !nested->isExpanded());
        QTest::keyClick(bar()->Field(), Qt::Key_Escape);
        QVERIFY(!clock->isExpanded());

        QTest::keyClick(tree, Qt::Key_F, Qt::ControlModifier);
        bar()->Field()->clear();
        type(bar()->Field(), QStringLiteral("ник-"));
        QTest::keyClick(bar()->Field(), Qt::Key_Escape);
        QVERIFY(selected().startsWith(QStringLiteral("будильник-2")));
        QVERIFY(clock->isExpanded() && nested->isExpanded());
    }

    // With the bar open every entry can still be scrolled into view above it.
    void theBarNeverHidesTheLastEntries()
    {
        MainTree* tree = m_form->TreeView1;
        kit::Entry last = kit::topLevel(*m_form, tree->model()->rowCount() - 1);
        tree->setCurrentIndex(last);
        tree->scrollToBottom();
        QVERIFY(visible(last));
        QTest::keyClick(tree, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(bar()->isVisible());
        QVERIFY(visible(last));
        tree->scrollToBottom();
        QVERIFY(visible(last));
        type(bar()->Field(), QStringLiteral("daemons"));
        QVERIFY(visible(last));
    }

    void slashInTheTreeOpensTheBarWithTheTextKept()
    {
        MainTree* tree = m_form->TreeView1;
        QTest::keyClick(tree, '/');
        QVERIFY(bar()->isVisible());
        QVERIFY(bar()->Field()->hasFocus());
        QCOMPARE(bar()->Field()->text(), QString());
        type(bar()->Field(), QStringLiteral("filler5"));
        QCOMPARE(selected(), QStringLiteral("Filler5 - [ 0 ]"));
        QCOMPARE(bar()->Status(), QStringLiteral("1 of 11")); // Filler5, Filler50 .. Filler59
        // Back in the tree with the bar open, F3 still walks the hits and Esc closes the bar.
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_F3);
        QCOMPARE(selected(), QStringLiteral("Filler50 - [ 0 ]"));
        QCOMPARE(bar()->Status(), QStringLiteral("2 of 11"));
        QTest::keyClick(tree, Qt::Key_Escape);
        QVERIFY(!bar()->isVisible());

        // Reopened: the text is kept and selected, so typing replaces it.
        tree->setCurrentIndex(kit::entry(*m_form, "Alpha"));
        m_form->ShowFindBar();
        QVERIFY(bar()->Field()->hasFocus());
        QCOMPARE(bar()->Field()->selectedText(), QStringLiteral("filler5"));
        type(bar()->Field(), QStringLiteral("alp"));
        QCOMPARE(bar()->Field()->text(), QStringLiteral("alp"));
        QCOMPARE(selected(), QStringLiteral("Alpha - [ 1 ]"));
        QCOMPARE(bar()->Status(), QStringLiteral("1 of 1"));
    }

    void nextChangedWalksWhatAnImportChanged()
    {
        TForm1& form = *m_form;
        QVERIFY(!form.SelectNextChanged(true)); // nothing changed yet
        QCOMPARE(selected(), QStringLiteral("Alpha - [ 1 ]"));

        Dialogs::SetNextFileName(kit::write(m_dir, "source.bcfg", importSource()));
        form.Button4Click();
        QCOMPARE(form.LastImport().merge.accepted, 3);
        form.TreeView1->collapseAll();
        form.TreeView1->setCurrentIndex(kit::entry(form, "Alpha"));
        // F4 is the window's shortcut: the window must be active again after the import.
        QVERIFY(kit::showWithTreeFocus(form));

        // Alpha was imported with its own value; the sections' marks are passed over.
        const QStringList order{QStringLiteral("Будильник - [ 5 ]"),
                                QStringLiteral("будильник-2 - [ -4 ]"),
                                QStringLiteral("Alpha - [ 1 ]")};
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(form.TreeView1, Qt::Key_F4);
            QCOMPARE(selected(), order[i % 3]);
            QVERIFY(visible(kit::selected(form).first()));
        }
        QTest::keyClick(form.TreeView1, Qt::Key_F4, Qt::ShiftModifier);
        QCOMPARE(selected(), order[2]); // back over the start
        QTest::keyClick(form.TreeView1, Qt::Key_F4, Qt::ShiftModifier);
        QCOMPARE(selected(), order[1]);
    }

    void hoverTellsTheCurrentDetails()
    {
        TForm1& form = *m_form;
        form.TreeView1->expandAll();
        kit::Entry alarm = kit::entry(form, QStringLiteral("Будильник"));
        const QString before = hover(alarm);
        QVERIFY2(before.startsWith(QStringLiteral("unsigned integer\nrange: 0 .. 9\npath: "
                                                  "Часы/Будильник\noffset: 92 (0x5C)\n")),
                 qPrintable(before));
        QVERIFY(before.endsWith(QStringLiteral("\nunchanged")));

        Dialogs::SetNextFileName(kit::write(m_dir, "source.bcfg", importSource()));
        form.Button4Click();
        const QString after = hover(alarm);
        QVERIFY2(after.contains(QStringLiteral("payload: 05 00 00 00\nchanged, imported\n"
                                               "before the import: 2")),
                 qPrintable(after));
        QVERIFY(hover(kit::entry(form, QStringLiteral("Вложенная")))
                    .startsWith(QStringLiteral("section\npath: Часы/Вложенная/\n")));
    }

    void hoverOnTheBlockWhereLoadingStopped()
    {
        const QString path = kit::write(
            m_dir, "cut.bcfg",
            BcfgBuilder().integer(1, "V", 0, 9, 1).raw(BcfgBuilder::le32(0x20) + "rest").bytes());
        m_form->LMDFileOpenEdit1->setText(path);
        QCOMPARE(Dialogs::TakeShown().size(), 1); // the message about the block
        kit::Entry block = kit::entry(*m_form, "Unknown Block");
        QVERIFY(block);
        QCOMPARE(hover(block), QStringLiteral("block not read: loading stopped here\noffset: 48 "
                                              "(0x30)\nkept: 8 bytes from here to the end, "
                                              "written back as they are"));
        // Below the last entry there is nothing to tell.
        const QRect row = m_form->TreeView1->visualRect(block);
        QCOMPARE(hover(QPoint(row.center().x(), row.bottom() + 20)), QString());
    }
};

QTEST_MAIN(TestTForm1Find)
#include "tst_tform1find.moc"
