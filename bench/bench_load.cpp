// Times load, tree building, save and import on a file of 100,000 records, far beyond what a
// phone's configuration holds, so that nothing in those paths can be quadratic unnoticed.

#include "BenchFile.h"
#include "Import.h"
#include "TBCFGFile.h"
#include "TreeSink.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
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

// The editor benchmarks' mixed file (BenchFile::WriteMixed), written and read back whole.
QByteArray buildFile(quint32 valueShift)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("load.bcfg"));
    if (!dir.isValid() || BenchFile::WriteMixed(path, RecordCount, valueShift) < 0)
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
