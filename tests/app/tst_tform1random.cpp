// Random user sessions on the main window with the real popups: a fixed list of seeds, each a
// few hundred steps over generated files, and after every step the window must agree with its
// document. PARVANE_RANDOM_STEPS=N runs N steps per seed, PARVANE_RANDOM_SEEDS=a,b,c other
// seeds; a failure names its seed and step, and the same seed replays the same session.

#include "tst_tform1_kit.h"

#include "BcfgError.h"
#include "PopupTestKit.h"

#include <QCalendarWidget>
#include <QListWidget>
#include <QRandomGenerator>

namespace {

using Answer = Dialogs::Answer;

QByteArray cp1251(const char16_t* text)
{
    return CodePage::FromUnicode(QStringView(text));
}
QByteArray utf8(const char16_t* text)
{
    return QStringView(text).toUtf8();
}

// One record as it goes into a file.
struct Rec {
    quint32 code;
    QByteArray name;
    quint32 min;
    qint32 max;
    QByteArray payload;
    QByteArray bytes() const
    {
        return BcfgBuilder().record(code, name, min, quint32(max), payload).bytes();
    }
};
QByteArray bytesOf(const QList<Rec>& records)
{
    QByteArray out;
    for (const Rec& r : records)
        out += r.bytes();
    return out;
}

// What opening or importing a file must give.
struct Expected {
    bool loads = false;
    int records = 0;
    QString error = QStringLiteral("Cannot open file"); // how the error box begins
};

class Generator
{
public:
    explicit Generator(QRandomGenerator& rng) : m_rng(rng) {}

    int below(int n) { return int(m_rng.bounded(n)); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T> T pick(std::initializer_list<T> list)
    {
        return list.begin()[below(int(list.size()))];
    }
    QString pick(const QStringList& list) { return list[below(int(list.size()))]; }
    QByteArray junk(int n)
    {
        QByteArray out;
        while (out.size() < n)
            out += char(below(256));
        return out;
    }

    // A small pool, so that names repeat within a level and across files.
    QByteArray name()
    {
        return pick<QByteArray>({"Size", "Flag", "Mode", "Normal", "First", cp1251(u"Цвет"),
                                 cp1251(u"Показывать"), cp1251(u"Громкость"),
                                 cp1251(u"Показывать при закрытом телефоне"), // 32 bytes
                                 QByteArray("Old\0name", 8), ""});
    }

    QByteArray text(quint32 code)
    {
        if (code == 4 || code == 6 || chance(25))
            return pick<QByteArray>({"abc", QByteArray("1234\0y", 6), cp1251(u"Привет, мир"),
                                     "%d.%m.%Y", "", cp1251(u"Пн Вт Ср Чт")});
        // Type 2 and 10 texts are UTF-8, some of it damaged.
        return pick<QByteArray>({utf8(u"Доброе утро!"), "4:\\Zbin\\\x1F" + utf8(u"Скины\\"),
                                 "0:\\Misc\\a.txt", "\xD0", "ab\xD0\x41", "\xE2\x82",
                                 "\xC3\xA9\xFF", utf8(u"Ёж\\\\x")});
    }

    QByteArray payload(const Rec& r)
    {
        using B = BcfgBuilder;
        // Mostly valid values, now and then out of range.
        const auto byte = [this](int usual, int rare) {
            return char(chance(90) ? below(usual) : below(rare));
        };
        switch (r.code) {
        case 1:
        case 3: {
            const qint64 low = r.code == 1 ? qint64(r.min) : qint64(qint32(r.min));
            const qint64 high = r.code == 1 ? qint64(quint32(r.max)) : qint64(r.max);
            const quint64 span = quint64(qBound(qint64(0), high - low, qint64(100000)));
            return B::le32(chance(80) ? quint32(low + qint64(m_rng.bounded(span + 1)))
                                      : m_rng.generate());
        }
        case 5: {
            QByteArray out = B::le32(quint32(below(r.max + 2) - 1));
            for (int i = 0; i < r.max; ++i)
                out += B::nameField(pick<QByteArray>({"On", "Off", cp1251(u"Часы"), "24"}));
            return out;
        }
        case 7:
        case 14:
            return junk(8);
        case 8:
            return junk(3) + byte(101, 256);
        case 9:
            return {};
        case 11:
            return B::le32(chance(90) ? quint32(below(2)) : m_rng.generate());
        case 12:
            return B::bytesOf({byte(24, 128), byte(60, 128)}) + junk(6);
        case 13:
            return B::le32(quint32(chance(85) ? 1 + below(9999) : pick({0, 10000, -5}))) +
                   B::bytesOf({char(1 + byte(12, 20)), char(1 + byte(31, 40))}) + junk(2);
        default: { // texts
            const qsizetype length = (r.max / 4 + 1) * 4;
            const QByteArray stored = (text(r.code) + '\0' + junk(below(8))).left(length);
            return stored + QByteArray(length - stored.size(), pick({'\0', 'x'}));
        }
        }
    }

    Rec value()
    {
        Rec r{pick<quint32>({1, 2, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13, 14}), name(), 0, 0, {}};
        if (r.code == 1) {
            r.min = pick<quint32>({0, 1, 100});
            r.max = pick({9, 100, 10000, -1});
        } else if (r.code == 3) {
            r.min = quint32(-below(1000));
            r.max = below(1000);
        } else if (r.code == 5) {
            r.min = pick<quint32>({0, 0, 1});
            r.max = below(5);
        } else if (r.code == 2 || r.code == 4 || r.code == 6 || r.code == 10) {
            r.max = chance(50) ? pick({3, 7, 15, 31}) : 1 + below(63);
        } else if (chance(10)) {
            r.min = m_rng.generate(); // unused header words are carried as they are
        }
        r.payload = payload(r);
        return r;
    }

    // Values and levels nested three deep, with an occasional end outside any level.
    QList<Rec> records(int count)
    {
        QList<Rec> out;
        int depth = 0;
        while (out.size() < count) {
            const int r = below(100);
            if (r < 12 && depth < 3) {
                out << Rec{9, name(), pick<quint32>({1, 1, 2, 0xFFFFFFFF}), 0, {}};
                ++depth;
            } else if ((r < 20 && depth > 0) || r == 99) {
                out << Rec{9, chance(50) ? QByteArray() : name(), 0, 0, {}};
                depth = qMax(depth - 1, 0);
            } else {
                out << value();
            }
        }
        while (depth-- > 0 && chance(80))
            out << Rec{9, {}, 0, 0, {}};
        return out;
    }

    // Another file of the same kind: some values differ, a few records come or go.
    QList<Rec> variant(const QList<Rec>& base)
    {
        QList<Rec> out;
        for (Rec r : base) {
            if (r.code != 9 && chance(4))
                continue;
            if (r.code == 5 && chance(35)) // the same items, so that it can be imported
                r.payload = BcfgBuilder::le32(quint32(below(r.max + 1))) + r.payload.mid(4);
            else if (r.code != 9 && chance(35))
                r.payload = payload(r);
            if (chance(3))
                r.name = name();
            out << r;
            if (chance(3))
                out << value();
        }
        return out;
    }

private:
    QRandomGenerator& m_rng;
};

// Plays the user at every popup: random keys into its fields, then Enter, Esc, a double-click
// or the close command. A popup still open after a few rounds in one step is cancelled, and any
// other modal window is closed and counted, so a session never hangs.
class PopupPlayer : public QObject
{
public:
    PopupPlayer(Popups& popups, Generator& gen) : m_popups(popups), m_gen(gen)
    {
        for (QDialog* popup : all()) {
            popup->installEventFilter(this);
            connect(popup, &QDialog::finished, this,
                    [this](int result) { accepted += result == QDialog::Accepted; });
        }
        m_guard.setInterval(20);
        connect(&m_guard, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal && !all().contains(modal)) {
                ++strays;
                modal->close();
            }
        });
        m_guard.start();
    }
    QList<QDialog*> all() const
    {
        return {&m_popups.form0103, &m_popups.form05, &m_popups.form0204, &m_popups.form07,
                &m_popups.form080E, &m_popups.form0D, &m_popups.form0C};
    }
    void reset() { shown = accepted = m_rounds = 0; }

    int shown = 0;
    int accepted = 0;
    int strays = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            ++shown;
            auto* popup = static_cast<QDialog*>(watched);
            QTimer::singleShot(0, this, [this, popup] { play(popup); });
        }
        return false;
    }

private:
    // Key by key, Cyrillic too (QTest::keyClicks sends Latin-1 only).
    static void typeText(QWidget* field, const QString& text)
    {
        for (const QChar c : text) {
            const bool ascii = c.unicode() < 128 && c.isLetterOrNumber();
            const int key = ascii ? int(c.toUpper().unicode()) : int(Qt::Key_unknown);
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
            QApplication::sendEvent(field, &press);
            QApplication::sendEvent(field, &release);
        }
    }
    QString randomText()
    {
        if (m_gen.chance(30))
            return QString::number(m_gen.below(2000) - 500);
        return m_gen.pick<QString>({"0", "255", "100", "65535", "4294967295", "-2147483648",
                                    "99999999999", "12:34", "7", "abc", QStringLiteral("Тест"),
                                    QStringLiteral("ё\\б"), " ", "+5", QString(70, u'ж'),
                                    "a\\b\\" + QString(40, u'x')});
    }

    void play(QDialog* popup)
    {
        if (!popup->isVisible())
            return;
        if (++m_rounds > 6) {
            popup->reject();
            return;
        }
        QWidget* target = popup;
        const auto key = [&](Qt::Key k) { QTest::keyClick(target, k); };
        if (popup == &m_popups.form05) {
            target = m_popups.form05.ListBox1;
            for (int i = m_gen.below(4); i > 0; --i)
                key(m_gen.pick({Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End}));
        } else if (popup == &m_popups.form0D) {
            QCalendarWidget* calendar = m_popups.form0D.MonthCalendar1;
            target = calendar->focusProxy() ? calendar->focusProxy() : calendar;
            for (int i = m_gen.below(4); i > 0; --i)
                key(m_gen.pick({Qt::Key_Left, Qt::Key_Right, Qt::Key_Down, Qt::Key_PageUp}));
        } else {
            const QList<QLineEdit*> fields = popup->findChildren<QLineEdit*>();
            for (int i = m_gen.below(3); i > 0 && !fields.isEmpty(); --i) {
                target = fields[m_gen.below(int(fields.size()))];
                if (m_gen.chance(60))
                    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
                else
                    key(m_gen.pick({Qt::Key_Backspace, Qt::Key_End, Qt::Key_Home}));
                typeText(target, randomText());
            }
        }
        if (m_gen.chance(20))
            rollWheel(target, m_gen.pick({120, -120, 240, -360, 7, -61}));
        const int end = m_gen.below(100);
        if (end < 50)
            key(m_gen.pick({Qt::Key_Return, Qt::Key_Enter}));
        else if (end < 82)
            key(Qt::Key_Escape);
        else if (QWidget* at = target == popup ? popup->findChild<QLabel*>() : target;
                 end < 92 && at)
            doubleClick(at);
        else
            popup->close();
        if (popup->isVisible()) // Enter on a text too long, Esc on the window, ...
            QTimer::singleShot(0, this, [this, popup] { play(popup); });
    }

    Popups& m_popups;
    Generator& m_gen;
    QTimer m_guard;
    int m_rounds = 0;
};

// The document as a step found it, to tell what the step changed.
struct Snapshot {
    const TBCFGFile* doc;
    QString fileName;
    bool modified;
    int count;
    QByteArray bytes;
    QList<QByteArray> records;
    QList<bool> imported;
};

#define CHECK(condition, what) QVERIFY2(condition, qPrintable(where(what)))

class Session
{
public:
    Session(quint32 seed, int steps)
        : m_seed(seed), m_steps(steps), m_rng(seed), m_gen(m_rng), m_player(m_popups, m_gen)
    {
    }

    void run()
    {
        makeFiles();
        m_form = std::make_unique<TForm1>();
        m_form->SetEditorHost(&m_popups.host);
        m_form->FormCreate({m_targets.first()});
        CHECK(Dialogs::TakeShown().isEmpty() && doc(), "the first file opens");
        QVERIFY(kit::showWithTreeFocus(*m_form));
        checkWindow();
        for (m_step = 1; m_step <= m_steps && !QTest::currentTestFailed(); ++m_step) {
            const Snapshot before = snapshot();
            const bool import = step(before);
            if (!QTest::currentTestFailed())
                checkChanges(before, import);
            if (!QTest::currentTestFailed())
                checkWindow();
        }
        if (QTest::currentTestFailed())
            return;
        m_action = QStringLiteral("close");
        closeWindow();
        // A session that never edited, saved or switched would check little.
        if (m_steps >= 200)
            CHECK(m_accepts > 0 && m_saves > 0 && m_switches > 0 && m_failedOpens > 0 &&
                      m_imports > 0,
                  "the session covers edits, saves, opens and imports");
    }

private:
    QString where(const QString& what) const
    {
        return QStringLiteral("seed %1 step %2 (%3): %4")
            .arg(QString::number(m_seed), QString::number(m_step), m_action, what);
    }
    TForm1& form() { return *m_form; }
    TBCFGFile* doc() { return m_form->CurrentDoc(); }

    void add(const QString& name, const QByteArray& bytes, const Expected& expected)
    {
        const QString path = kit::write(m_dir, name, bytes);
        m_files[path] = expected;
        m_targets << path;
    }
    void makeFiles()
    {
        const QList<Rec> base = m_gen.records(15 + m_gen.below(35));
        add("EXTRAINFO16.bcfg", bytesOf(base), {true, int(base.size())});
        const QList<Rec> copy = m_gen.variant(base);
        add(QStringLiteral("Копия.bcfg"), bytesOf(copy), {true, int(copy.size())});

        // Stops at an unknown block; the rest is kept as the tail.
        const QList<Rec> partial = m_gen.variant(base);
        add("extrainfo15.bcfg",
            bytesOf(partial) + BcfgBuilder::le32(m_gen.pick<quint32>({0, 15, 16, 0xFFFFFFFF})) +
                m_gen.junk(m_gen.below(30)),
            {true, int(partial.size())});

        // Another kind of file, perhaps stopping at a text or choice without a layout.
        const QList<Rec> other = m_gen.records(10 + m_gen.below(20));
        QByteArray otherBytes = bytesOf(other);
        if (m_gen.chance(50))
            otherBytes += Rec{m_gen.pick<quint32>({2, 4, 5, 6, 10}), "Bad", 0, -1 - m_gen.below(50),
                              m_gen.junk(m_gen.below(20))}
                              .bytes() +
                          bytesOf(m_gen.records(3));
        add("other.bcfg", otherBytes, {true, int(other.size())});

        // Cut inside a record, after its type code.
        const QList<Rec> cut = m_gen.variant(base);
        const int victim = m_gen.below(int(cut.size()));
        add("cut.bcfg",
            bytesOf(cut).left(bytesOf(cut.mid(0, victim)).size() + 4 +
                              m_gen.below(int(cut[victim].bytes().size()) - 4)),
            {false, 0, QStringLiteral("Stream read error.")});

        QDir().mkpath(m_dir.filePath("folder.bcfg"));
        QDir().mkpath(m_dir.filePath("saved"));
        m_targets << m_dir.filePath("folder.bcfg") << m_dir.filePath("missing.bcfg");
    }

    Expected expected(const QString& path) const
    {
        return m_files.value(QFileInfo(path).absoluteFilePath());
    }

    Snapshot snapshot()
    {
        Snapshot s{doc(),
                   form().DocumentFileName(),
                   doc()->Modified,
                   doc()->Count(),
                   doc()->Serialize(),
                   {},
                   {}};
        for (const auto& rec : doc()->Records()) {
            rec->AppendTo(s.records.emplace_back());
            s.imported << rec->Imported;
        }
        return s;
    }

    QList<kit::Entry> entries() { return kit::all(form()); }
    // A point on the entry's label inside the viewport, or (-1, -1).
    QPoint onLabel(kit::Entry item)
    {
        const QRect label =
            form().TreeView1->LabelRect(item) & form().TreeView1->viewport()->rect();
        return label.isEmpty() ? QPoint(-1, -1) : label.center();
    }
    kit::Entry selectSome()
    {
        const QList<kit::Entry> all = entries();
        if (all.isEmpty())
            return nullptr;
        kit::Entry item = all[m_gen.below(int(all.size()))];
        kit::selectEntry(form(), item);
        return item;
    }

    // One random step; returns whether it was an import.
    bool step(const Snapshot& before)
    {
        Dialogs::TakeShown();
        m_player.reset();
        const int r = m_gen.below(100);
        if (r < 12) {
            m_action = QStringLiteral("select");
            if (kit::Entry item = selectSome(); item && m_gen.chance(50))
                if (const QPoint at = onLabel(item); at.x() >= 0)
                    QTest::mouseClick(form().TreeView1->viewport(), Qt::LeftButton, {}, at);
        } else if (r < 20) {
            m_action = QStringLiteral("keys in the tree");
            for (int i = 1 + m_gen.below(3); i > 0; --i)
                QTest::keyClick(form().TreeView1,
                                m_gen.pick({Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right,
                                            Qt::Key_Home, Qt::Key_End, Qt::Key_PageDown}));
        } else if (r < 28) {
            m_action = QStringLiteral("expand or collapse");
            const int how = m_gen.below(4);
            if (how < 2)
                QTest::mouseClick(how == 0 ? form().Button5 : form().Button6, Qt::LeftButton);
            else if (kit::Entry item = selectSome(); item && how == 2)
                item->setExpanded(true);
            else if (item && item->parent())
                item->parent()->setExpanded(false);
        } else if (r < 58) {
            edit(before, r < 44 ? 0 : r < 52 ? 1 : 2);
        } else if (r < 64) {
            save(before);
        } else if (r < 70) {
            saveAs(before);
        } else if (r < 77) {
            import(before);
            return true;
        } else {
            open(before);
        }
        return false;
    }

    // how: 0 Enter, 1 double-click, 2 wheel.
    void edit(const Snapshot& before, int how)
    {
        const QList<kit::Entry> selected = kit::selected(form());
        kit::Entry item = selected.isEmpty() ? selectSome() : selected.first();
        if (!item)
            return;
        form().TreeView1->scrollTo(item);
        TBcfgRecAll* rec = MainTree::RecordOf(item);
        const bool checkBox = rec && rec->TypeCode == 11;
        const bool shown = !form().SelectedLabelScreenRect().isEmpty();
        const bool beside = how > 0 && m_gen.chance(15);
        QPoint at = onLabel(item);
        if (beside)
            at.setX(form().TreeView1->LabelRect(item).right() + 3);
        const QString label = item->text(0);
        QWidget* viewport = form().TreeView1->viewport();
        if (how == 0) {
            m_action = QStringLiteral("Enter on \"%1\"").arg(label);
            QTest::keyClick(form().TreeView1, m_gen.pick({Qt::Key_Return, Qt::Key_Enter}));
        } else if (at.x() < 0 || at.x() >= viewport->width()) {
            return;
        } else if (how == 1) {
            m_action =
                QStringLiteral("double-click %1 \"%2\"").arg(beside ? "beside" : "on", label);
            QTest::mouseDClick(viewport, Qt::LeftButton, {}, at);
        } else {
            const int delta = m_gen.chance(60) ? 120 * m_gen.pick({1, -1, 2, -2, 5})
                                               : (1 + 2 * m_gen.below(200)) * m_gen.pick({1, -1});
            m_action = QStringLiteral("wheel %1 %2 \"%3\"")
                           .arg(delta)
                           .arg(beside ? "beside" : "on", label);
            // A closed popup leaves no window active on this platform; the user clicks back.
            if (!form().isActiveWindow()) {
                form().activateWindow();
                CHECK(QTest::qWaitForWindowActive(&form()), "the window is active again");
            }
            form().TreeView1->setFocus();
            CHECK(form().TreeView1->hasFocus(), "the tree has the focus");
            QWheelEvent wheel(at, viewport->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {},
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &wheel);
        }
        m_accepts += m_player.accepted;
        const bool changed = doc()->Serialize() != before.bytes;
        if (beside || (how < 2 && m_player.accepted == 0 && !checkBox))
            CHECK(!changed && doc()->Modified == before.modified,
                  "nothing changes without an accepted popup");
        if (how < 2 && shown && !beside && checkBox)
            CHECK(rec->Modified && changed, "the check box toggles");
        if (beside || !shown)
            CHECK(m_player.shown == 0, "no popup for an entry hidden or off the cursor");
    }

    // The file just written holds the document and loads back the same.
    void checkSaved(const QString& path)
    {
        const QByteArray bytes = kit::read(path);
        CHECK(bytes == doc()->Serialize(), "the saved file holds the document");
        CHECK(!doc()->Modified, "saving clears the document's mark");
        for (const auto& rec : doc()->Records())
            CHECK(!rec->Modified, "saving clears every record's mark");
        try {
            const auto fresh = TBCFGFile::Load(path, nullptr, nullptr);
            CHECK(fresh->Serialize() == bytes && fresh->Count() == doc()->Count(),
                  "the saved file loads back byte for byte, every record");
        } catch (const BcfgError& error) {
            CHECK(false, "the saved file loads: " + error.text());
        }
        m_files[QFileInfo(path).absoluteFilePath()] = {true, doc()->Count()};
        if (!m_targets.contains(path))
            m_targets << path;
        ++m_saves;
    }

    void save(const Snapshot& before)
    {
        m_action = QStringLiteral("Save");
        const QByteArray onDisk = kit::read(before.fileName);
        QTest::mouseClick(form().Button1, Qt::LeftButton);
        CHECK(Dialogs::TakeShown().isEmpty(), "Save shows nothing");
        if (before.modified)
            checkSaved(before.fileName);
        else
            CHECK(kit::read(before.fileName) == onDisk, "Save without changes writes nothing");
    }

    void saveAs(const Snapshot& before)
    {
        // 0: cancelled, 1: onto a folder, else a scratch file, perhaps named without extension.
        const int kind = m_gen.below(10);
        QString name = kind == 0 ? QString()
                       : kind == 1
                           ? m_dir.filePath("folder.bcfg")
                           : m_dir.filePath(QStringLiteral("saved/s%1").arg(m_gen.below(3)));
        if (kind >= 2 && m_gen.chance(70))
            name += ".bcfg";
        const Answer answer = m_gen.pick({Answer::Yes, Answer::No, Answer::Cancel});
        m_action = QStringLiteral("Save As \"%1\", answer %2").arg(name).arg(int(answer));
        // A name without a dot gets the extension, which makes it another file to confirm.
        const bool dotless = kind >= 2 && !name.contains('.');
        const QString target = dotless ? name + ".bcfg" : name;
        const bool asked = dotless && QFileInfo::exists(target);
        Dialogs::SetNextFileName(name);
        Dialogs::SetNextAnswer(answer);
        QTest::mouseClick(form().Button2, Qt::LeftButton);
        const QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        CHECK(shown.size() == 1 + (kind == 1) + asked && shown[0].kind == "save",
              "Save As shows its dialog and what it must");
        CHECK(kind != 1 || shown[1].kind == "error", "a folder cannot be replaced");
        CHECK(!asked || shown[1].kind == "confirm", "replacing a file is confirmed");
        CHECK(form().DocumentFileName() == before.fileName, "Save As keeps the document's file");
        if (kind >= 2 && (!asked || answer == Answer::Yes))
            checkSaved(target);
        else
            CHECK(doc()->Modified == before.modified, "nothing saved, the marks stay");
    }

    void import(const Snapshot& before)
    {
        const QString source = m_gen.chance(10) ? QString() : m_gen.pick(m_targets);
        m_action = QStringLiteral("Import \"%1\"").arg(source);
        const Expected want = expected(source);
        Dialogs::SetNextFileName(source);
        QTest::mouseClick(form().Button4, Qt::LeftButton);
        const QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        CHECK(!shown.isEmpty() && shown[0].kind == "open", "the open dialog is shown");
        if (source.isEmpty() || !want.loads) {
            CHECK(source.isEmpty() || (shown.size() == 2 && shown[1].kind == "error" &&
                                       shown[1].text.startsWith(want.error)),
                  "an unreadable source is reported");
            CHECK(doc()->Serialize() == before.bytes && doc()->Modified == before.modified,
                  "a cancelled or failed import changes nothing");
            return;
        }
        const ImportResult& result = form().LastImport();
        CHECK(result.loaded && result.records == want.records, "the import reads every record");
        ++m_imports;
    }

    void open(const Snapshot& before)
    {
        QString name = m_gen.pick(m_targets);
        const Answer answer = m_gen.pick({Answer::Yes, Answer::No, Answer::Cancel});
        Dialogs::SetNextAnswer(answer);
        QLineEdit* field = form().LMDFileOpenEdit1->lineEdit();
        if (m_gen.chance(15)) {
            // A keystroke in the field opens what it then names.
            QTest::keyClick(field, Qt::Key_End);
            const bool erase = m_gen.chance(50) && !field->text().isEmpty();
            name = erase ? field->text().chopped(1) : field->text() + 'x';
            m_action = QStringLiteral("type into the file field, answer %1").arg(int(answer));
            QTest::keyClick(field, erase ? Qt::Key_Backspace : Qt::Key_X);
        } else {
            m_action = QStringLiteral("open \"%1\", answer %2").arg(name).arg(int(answer));
            if (field->text() == name)
                return; // the same text starts nothing
            form().LMDFileOpenEdit1->setText(name);
        }
        const QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        const Expected want = expected(name);
        const bool kept = doc() == before.doc && form().DocumentFileName() == before.fileName &&
                          doc()->Serialize() == before.bytes && doc()->Modified == before.modified;
        if (!want.loads) {
            ++m_failedOpens;
            CHECK(shown.size() == 1 && shown[0].kind == "error" &&
                      shown[0].text.startsWith(want.error),
                  "a failed open is reported with its cause");
            CHECK(kept, "a failed open keeps the document");
            return;
        }
        if (before.modified) {
            CHECK(!shown.isEmpty() && shown[0].kind == "confirm" &&
                      shown[0].text == "Save file before opening another?",
                  "unsaved changes are asked about");
            if (answer == Answer::Cancel) {
                CHECK(kept, "Cancel keeps the document and its changes");
                return;
            }
            if (answer == Answer::Yes) {
                CHECK(kit::read(before.fileName) == before.bytes,
                      "Yes saves the changes to the document's file");
                m_files[before.fileName] = {true, before.count};
                ++m_saves;
            }
        }
        ++m_switches;
        CHECK(form().DocumentFileName() == QFileInfo(name).absoluteFilePath(),
              "the opened file is the document's file");
        // Also when Yes has just saved over the file being opened.
        CHECK(doc()->Serialize() == kit::read(name), "the document holds the file it opened");
        CHECK(doc()->Count() == want.records && !doc()->Modified,
              "the document holds every record, unchanged");
        const int next = before.modified;
        CHECK(shown.size() == next + !doc()->FullyLoaded(), "the open shows what it must");
        CHECK(doc()->FullyLoaded() ||
                  (shown[next].kind == "message" && shown[next].text == doc()->StopMessage()),
              "an unknown block is reported");
    }

    void closeWindow()
    {
        Dialogs::TakeShown();
        const bool modified = doc()->Modified;
        const QString fileName = form().DocumentFileName();
        const QByteArray onDisk = kit::read(fileName);
        if (modified) {
            Dialogs::SetNextAnswer(Answer::Cancel);
            CHECK(!form().close() && form().isVisible() && doc()->Modified,
                  "Cancel at the exit question keeps the window and the changes");
            Dialogs::TakeShown();
        }
        const Answer answer = m_gen.pick({Answer::Yes, Answer::No});
        Dialogs::SetNextAnswer(answer);
        CHECK(form().close(), "the window closes");
        const QList<Dialogs::Shown> shown = Dialogs::TakeShown();
        CHECK(shown.size() == int(modified) &&
                  (!modified || shown[0].text == "Save file before exit?"),
              "the exit question is asked only with changes");
        if (modified && answer == Answer::Yes)
            checkSaved(fileName);
        else
            CHECK(kit::read(fileName) == onDisk, "closing without Yes writes nothing");
    }

    // What the step did to the records of a document it kept.
    void checkChanges(const Snapshot& before, bool import)
    {
        if (doc() != before.doc || doc()->Count() != before.count)
            return;
        for (int i = 0; i < before.count; ++i) {
            const TBcfgRecAll* rec = doc()->Record(i);
            QByteArray bytes;
            rec->AppendTo(bytes);
            CHECK(bytes == before.records[i] || rec->Modified,
                  QStringLiteral("record %1 changed without its mark").arg(i));
            CHECK(rec->Imported == before.imported[i] || (import && rec->Imported),
                  QStringLiteral("record %1's import mark").arg(i));
        }
    }

    QColor colourOf(const TBcfgRecAll* rec, bool selected)
    {
        if (rec->Modified)
            return selected ? QColor(255, 160, 160) : QColor(192, 0, 0);
        if (rec->Imported)
            return selected ? QColor(160, 160, 255) : QColor(0, 0, 255);
        return form().TreeView1->palette().color(selected ? QPalette::HighlightedText
                                                          : QPalette::Text);
    }

    // The window agrees with its document.
    void checkWindow()
    {
        TForm1& f = form();
        const QList<QDialog*> popups = m_player.all();
        CHECK(!QApplication::activeModalWidget() && m_player.strays == 0 &&
                  std::none_of(popups.begin(), popups.end(),
                               [](QDialog* popup) { return popup->isVisible(); }),
              "no modal window is left open, none but the popups was shown");
        CHECK(!f.EditorOpen() && !f.Busy() && f.Panel1->isHidden(), "the window is idle");
        const TBCFGFile* d = doc();
        CHECK(d, "a document is open");
        CHECK(f.Label2->isVisible() == d->Modified, "the change marker follows the document");
        CHECK(f.Button1->isEnabled() == d->Modified, "Save follows the document");
        CHECK(f.Button2->isEnabled() && f.Button4->isEnabled(), "Save As and Import are enabled");

        QList<const TBcfgRecAll*> inTree;
        int blocks = 0;
        for (kit::Entry item : entries()) {
            const TBcfgRecAll* rec = MainTree::RecordOf(item);
            const QString label = item->text(0);
            if (!rec) {
                ++blocks;
                CHECK(MainTree::IsUnknownBlock(item) && label == QLatin1String(d->StopLabel()),
                      "an entry without a record is the stop block: " + label);
                continue;
            }
            inTree << rec;
            CHECK(label == CodePage::ToUnicode(rec->DisplayText()), "the label of " + label);
            CHECK(kit::drawn(f, item, false).text == colourOf(rec, false) &&
                      kit::drawn(f, item, true).text == colourOf(rec, true),
                  "the colours of " + label);
            for (kit::Entry p = item->parent(); p && item->isSelected(); p = p->parent())
                CHECK(p->isExpanded(), "the selection is not hidden: " + label);
        }
        CHECK(blocks == int(!d->FullyLoaded()), "the stop block has one entry");
        QList<const TBcfgRecAll*> records;
        bool anyModified = false;
        for (const auto& rec : d->Records()) {
            if (!rec->IsLevelEnd())
                records << rec.get();
            anyModified |= rec->Modified;
            const TBcfgRecAll* level = d->Record(rec->ParentIndex);
            CHECK(!level ||
                      ((level->Modified || !rec->Modified) && (level->Imported || !rec->Imported)),
                  "a level carries the marks of what it holds");
        }
        CHECK(inTree == records, "the tree holds the document's records");
        CHECK(anyModified == d->Modified, "the document is marked exactly when a record is");
    }

    const quint32 m_seed;
    const int m_steps;
    QRandomGenerator m_rng;
    Generator m_gen;
    Popups m_popups;
    PopupPlayer m_player;
    std::unique_ptr<TForm1> m_form;
    QTemporaryDir m_dir;
    QHash<QString, Expected> m_files; // by full path
    QStringList m_targets;            // the first is opened at start-up
    int m_step = 0;
    QString m_action = QStringLiteral("start");
    int m_accepts = 0, m_saves = 0, m_switches = 0, m_failedOpens = 0, m_imports = 0;
};

} // namespace

class TestTForm1Random : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { kit::startUp(); }

    void session_data()
    {
        QTest::addColumn<quint32>("seed");
        QStringList seeds =
            qEnvironmentVariable("PARVANE_RANDOM_SEEDS").split(',', Qt::SkipEmptyParts);
        if (seeds.isEmpty())
            seeds = QStringList{"1", "2", "3", "4", "5"};
        for (const QString& seed : seeds)
            QTest::addRow("seed %s", qPrintable(seed.trimmed())) << seed.trimmed().toUInt();
    }
    void session()
    {
        QFETCH(quint32, seed);
        bool ok = false;
        const int steps = qEnvironmentVariableIntValue("PARVANE_RANDOM_STEPS", &ok);
        Session(seed, ok && steps > 0 ? steps : 400).run();
    }
};

QTEST_MAIN(TestTForm1Random)
#include "tst_tform1random.moc"
