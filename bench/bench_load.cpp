// Times load, tree building, save and import on a file of 100,000 records, far beyond what a
// phone's configuration holds, so that nothing in those paths can be quadratic unnoticed.

#include "BcfgBuilder.h"
#include "Import.h"
#include "TBCFGFile.h"
#include "TreeSink.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr int RecordCount = 100000;
constexpr int Rounds = 3;

// Takes every entry and keeps none.
class NullTree : public TreeSink
{
public:
    Entry append(Entry, const QByteArray&, TBcfgRecAll*) override
    {
        ++entries;
        return this; // any non-null handle
    }
    Entry parentOf(Entry) override { return nullptr; }
    void expandAll(Entry) override {}
    qint64 entries = 0;
};

// Sections three deep whose records reuse a handful of names, so that occurrence counting
// and path matching meet many equal names. valueShift changes the values but not the layout.
QByteArray buildFile(quint32 valueShift)
{
    static const QByteArray names[] = {"Show", "Position", "Colour", "Colour", "Size", "Mode",
                                       "Text", "Path",     "Time",   "Date",   "Area", "Password"};
    BcfgBuilder b;
    int count = 0;
    for (int i = 0; count < RecordCount; ++i) {
        const QByteArray& name = names[size_t(i) % std::size(names)];
        const quint32 v = quint32(i) + valueShift;
        switch (i % 16) {
        case 0:
            // Three levels down, three up, and again.
            if ((i / 16) % 6 < 3)
                b.levelBegin("Section " + QByteArray::number(i % 7));
            else
                b.levelEnd();
            break;
        case 1:
        case 9:
            b.integer(1, name, 0, 1000, v % 1000);
            break;
        case 2:
            b.integer(3, name, quint32(-100), 100, quint32(int(v % 200) - 100));
            break;
        case 3:
            b.text(4, name, 31, "value " + QByteArray::number(v));
            break;
        case 4:
            b.text(10, name, 63, "текст " + QByteArray::number(v));
            break;
        case 5:
            b.choice(name, int(v % 3), {"One", "Two", "Three"});
            break;
        case 6:
            b.coordinates(name, int(v % 240), int(v % 320));
            break;
        case 7:
            b.colour(name, quint8(v), quint8(v >> 8), 0x40, 100);
            break;
        case 8:
            b.checkBox(name, v % 2);
            break;
        case 10:
            b.time(name, qint8(v % 24), qint8(v % 60));
            break;
        case 11:
            b.date(name, 2000 + int(v % 30), qint8(1 + v % 12), qint8(1 + v % 28));
            break;
        case 12:
            b.rect(name, 0, 0, quint16(v % 240), quint16(v % 320));
            break;
        case 13:
            b.text(2, name, 63, "4:\\Zbin\\\x1Fпапка\\" + QByteArray::number(v));
            break;
        case 14:
            b.text(6, name, 7, QByteArray::number(v % 10000));
            break;
        default:
            b.checkBox(name, 1);
            break;
        }
        ++count;
    }
    return b.bytes();
}

// The best of a few rounds, in milliseconds.
double timeMs(const std::function<void()>& work)
{
    double best = 1e300;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

} // namespace

int main()
{
    const QByteArray current = buildFile(0);
    const QByteArray source = buildFile(1);
    std::printf("file: %d records, %lld bytes (best of %d rounds)\n", RecordCount,
                qlonglong(current.size()), Rounds);

    std::unique_ptr<TBCFGFile> doc;
    const double load = timeMs([&] { doc = TBCFGFile::FromBytes(current, nullptr, nullptr); });
    if (doc->Count() != RecordCount || !doc->FullyLoaded()) {
        std::fprintf(stderr, "the benchmark file did not load whole\n");
        return 1;
    }

    NullTree tree;
    const double build = timeMs([&] { doc->BuildTree(tree); });

    QByteArray saved;
    const double save = timeMs([&] { saved = doc->Serialize(); });
    if (saved != current) {
        std::fprintf(stderr, "the benchmark file did not save back unchanged\n");
        return 1;
    }

    // A fresh pair each round, so that every round takes the same values over.
    Import::Result result;
    double import = 1e300;
    for (int round = 0; round < Rounds; ++round) {
        auto into = TBCFGFile::FromBytes(current, nullptr, nullptr);
        const auto from = TBCFGFile::FromBytes(source, nullptr, nullptr);
        QElapsedTimer timer;
        timer.start();
        result = Import::MergeDocuments(*into, *from, false);
        import = std::min(import, double(timer.nsecsElapsed()) / 1e6);
    }

    std::printf("load (FromBytes)        %9.1f ms\n", load);
    std::printf("BuildTree (null sink)   %9.1f ms  (%lld entries per round)\n", build,
                tree.entries / Rounds);
    std::printf("Serialize               %9.1f ms\n", save);
    std::printf("MergeDocuments          %9.1f ms  (%d matched, %d taken over)\n", import,
                result.matched, result.accepted);
    return 0;
}
