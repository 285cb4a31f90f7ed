#include "BcfgBuilder.h"
#include "BcfgError.h"
#include "ChangeHistory.h"
#include "FakeEditorHost.h"
#include "Import.h"
#include "RecordWheel.h"
#include "TBCFGFile.h"

#include <QBuffer>
#include <QRandomGenerator>
#include <QTest>
#include <functional>

namespace {

// Two sections of every editable kind; variant changes the values (and one name, so that
// an import also leaves records without a counterpart).
QByteArray sampleFile(quint32 variant)
{
    BcfgBuilder b;
    for (int section = 0; section < 2; ++section) {
        b.levelBegin(section ? "Sound" : "Clock")
            .integer(1, "Volume", 0, 50, 10 + variant % 7)
            .integer(3, "Offset", quint32(-5), 5, variant % 3)
            .choice("Mode", int(variant % 3), {"a", "b", "c"})
            .checkBox("On", variant % 2)
            .time("Alarm", qint8(variant % 24), 30)
            .date("Day", 2020, 2, qint8(1 + variant % 28))
            .text(4, "Title", 15, "t" + QByteArray::number(variant))
            .levelBegin(variant % 2 ? "Inner" : "Other")
            .integer(1, "Volume", 0, 50, variant % 50)
            .levelEnd()
            .levelEnd();
    }
    return b.bytes();
}

struct Marks {
    QByteArray bytes;
    QList<QPair<bool, bool>> records;
    bool modified = false;
    bool operator==(const Marks&) const = default;
};

Marks marksOf(const TBCFGFile& doc)
{
    Marks m{doc.Serialize(), {}, doc.Modified};
    for (const auto& rec : doc.Records())
        m.records.append({rec->Modified, rec->Imported});
    return m;
}

QByteArray payloadAt(const TBCFGFile& doc, int index)
{
    QByteArray out;
    doc.Record(index)->WritePayload(out);
    return out;
}

using Op = std::function<void(TBCFGFile&)>;

struct Step {
    std::unique_ptr<ChangeStep> step;
    std::vector<Op> ops;
    int saves = 0;  // saves made before the step
    int wheel = -1; // the record a wheel step rolled
};

} // namespace

class TestHistory : public QObject
{
    Q_OBJECT
private slots:
    // Random edits, wheel rolls, imports, saves, undos and redos; after each action the
    // document equals a replay of the steps in effect from the file as loaded: the same bytes
    // and marks, Modified exactly where the file written last differs or a step since it
    // marked.
    void undoRedoMatchesReplay_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 2u, 3u, 4u, 5u, 6u})
            QTest::addRow("seed %u", seed) << seed;
    }
    void undoRedoMatchesReplay()
    {
        QFETCH(quint32, seed);
        QRandomGenerator rng(seed);
        const QByteArray original = sampleFile(0);
        auto doc = TBCFGFile::FromBytes(original, nullptr, nullptr);
        ChangeHistory history(*doc);
        std::vector<Step> steps;
        size_t done = 0; // steps in effect
        int saves = 0;
        QByteArray saved = original;

        for (int action = 0; action < 300; ++action) {
            const int kind = rng.bounded(10);
            if (kind <= 5) {
                const int index = rng.bounded(doc->Count());
                const int amount = rng.bounded(-3, 4);
                const QString answer =
                    QString::number(rng.bounded(-6, 60)) + (rng.bounded(4) ? "" : "x");
                const quint32 variant = rng.bounded(1u, 50u);
                Op op;
                if (kind <= 2) {
                    op = [index, amount](TBCFGFile& d) {
                        try {
                            RecordWheel::Step(*d.Record(index), amount);
                        } catch (const BcfgError&) {
                        }
                    };
                } else if (kind <= 4) {
                    op = [index, answer](TBCFGFile& d) {
                        FakeEditorHost answering;
                        answering.textsOnly = true;
                        answering.answers = {typed({answer})};
                        d.Record(index)->Edit(answering);
                    };
                } else {
                    op = [variant](TBCFGFile& d) {
                        const auto source =
                            TBCFGFile::FromBytes(sampleFile(variant), nullptr, nullptr);
                        Import::MergeDocuments(d, *source, false);
                    };
                }
                const ChangeCapture capture =
                    kind == 5 ? history.BeginAll() : history.Begin(*doc->Record(index));
                op(*doc);
                auto step = history.Finish(capture);
                if (!step)
                    continue;
                const int wheel = kind <= 2 ? index : -1;
                steps.resize(done); // a new step drops what was undone
                if (done > 0 && wheel >= 0 && steps.back().wheel == wheel &&
                    steps.back().step->Absorb(*step)) {
                    steps.back().ops.push_back(op);
                    if (steps.back().step->Empty()) {
                        steps.pop_back();
                        --done;
                    }
                } else {
                    steps.push_back({std::move(step), {op}, saves, wheel});
                    ++done;
                }
            } else if (kind == 6) {
                QBuffer buffer;
                buffer.open(QIODevice::WriteOnly);
                doc->SaveTo(buffer);
                saved = buffer.data();
                history.Saved();
                ++saves;
            } else if (kind <= 8 && done > 0) {
                history.Undo(*steps[--done].step);
            } else if (kind == 9 && done < steps.size()) {
                history.Redo(*steps[done++].step);
                // A redone step takes no further rolls.
                steps[done - 1].wheel = -1;
            } else {
                continue;
            }

            auto replay = TBCFGFile::FromBytes(original, nullptr, nullptr);
            for (size_t i = 0; i < done; ++i) {
                if (steps[i].saves == saves && (i == 0 || steps[i - 1].saves != saves))
                    for (const auto& rec : replay->Records())
                        rec->Modified = false;
                for (const Op& op : steps[i].ops)
                    op(*replay);
            }
            if (done == 0 || steps[done - 1].saves != saves) {
                for (const auto& rec : replay->Records())
                    rec->Modified = false;
            }
            const auto file = TBCFGFile::FromBytes(saved, nullptr, nullptr);
            for (int i = 0; i < replay->Count(); ++i)
                if (payloadAt(*replay, i) != payloadAt(*file, i))
                    replay->Record(i)->MarkModified();
            replay->Modified = std::any_of(replay->Records().begin(), replay->Records().end(),
                                           [](const auto& rec) { return rec->Modified; });
            QVERIFY2(marksOf(*doc) == marksOf(*replay),
                     qPrintable(QStringLiteral("action %1").arg(action)));
        }
    }

    // Undoing every step brings the document back to the file exactly: no marks at all.
    void undoingEverythingIsUnchanged()
    {
        const QByteArray original = sampleFile(0);
        auto doc = TBCFGFile::FromBytes(original, nullptr, nullptr);
        ChangeHistory history(*doc);
        std::vector<std::unique_ptr<ChangeStep>> steps;
        const ChangeCapture wheel = history.Begin(*doc->Record(1));
        QVERIFY(RecordWheel::Step(*doc->Record(1), 2));
        steps.push_back(history.Finish(wheel));
        const ChangeCapture import = history.BeginAll();
        const auto source = TBCFGFile::FromBytes(sampleFile(3), nullptr, nullptr);
        Import::MergeDocuments(*doc, *source, false);
        steps.push_back(history.Finish(import));
        QVERIFY(steps[0] && steps[1] && doc->Modified);
        // A capture with nothing changed is no step.
        QVERIFY(!history.Finish(history.Begin(*doc->Record(2))));
        history.Undo(*steps[1]);
        history.Undo(*steps[0]);
        QCOMPARE(doc->Serialize(), original);
        QVERIFY(!doc->Modified);
        for (const auto& rec : doc->Records())
            QVERIFY(!rec->Modified && !rec->Imported);
    }
};

QTEST_GUILESS_MAIN(TestHistory)
#include "tst_history.moc"
