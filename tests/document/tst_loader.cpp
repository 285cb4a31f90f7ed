#include "BcfgBuilder.h"
#include "BcfgError.h"
#include "ErrorOf.h"
#include "FileState.h"
#include "PlatformFile.h"
#include "RecordPool.h"
#include "TBCFGFile.h"
#include "TBcfgRec0103.h"
#include "TBcfgRecString.h"
#include "TestFifo.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

// Records what the loader appends, as "depth:label" lines, and what it expands.
class RecordingTree : public TreeSink
{
public:
    struct Node {
        QByteArray label;
        TBcfgRecAll* record;
        int parent;
    };
    Entry append(Entry parent, const QByteArray& label, TBcfgRecAll* record) override
    {
        nodes.push_back(Node{label, record, index(parent)});
        return reinterpret_cast<Entry>(nodes.size());
    }
    Entry parentOf(Entry entry) override
    {
        const int p = nodes[size_t(index(entry))].parent;
        return p < 0 ? nullptr : reinterpret_cast<Entry>(size_t(p) + 1);
    }
    void expandAll(Entry entry) override { expanded.push_back(index(entry)); }

    int depth(int i) const
    {
        return nodes[size_t(i)].parent < 0 ? 0 : 1 + depth(nodes[size_t(i)].parent);
    }
    QStringList lines() const
    {
        QStringList out;
        for (size_t i = 0; i < nodes.size(); ++i)
            out << QString::number(depth(int(i))) + ":" + QString::fromLatin1(nodes[i].label);
        return out;
    }
    static int index(Entry e) { return e ? int(reinterpret_cast<size_t>(e)) - 1 : -1; }

    std::vector<Node> nodes;
    std::vector<int> expanded;
};

class Messages : public LoadReporter
{
public:
    void loadMessage(const QString& text) override { texts << text; }
    QStringList texts;
};

// In a fresh directory, makes what a row names: "dir", "fifo", "loop" (two links
// that point at each other), an absolute path that exists already, or "link X"
// (a link to X). Returns the path of what was made.
QString makeEntry(const QString& dir, const QString& what)
{
    if (what.startsWith(QLatin1String("link "))) {
        const QString link = dir + "/link";
        return QFile::link(makeEntry(dir, what.mid(5)), link) ? link : QString();
    }
    if (what == QLatin1String("dir"))
        return QDir(dir).mkdir(what) ? dir + "/dir" : QString();
    if (what == QLatin1String("loop")) {
        const bool made =
            QFile::link(dir + "/b", dir + "/a") && QFile::link(dir + "/a", dir + "/b");
        return made ? dir + "/a" : QString();
    }
    return what.startsWith('/') ? what : dir + '/' + what; // the pipe is made by the caller
}

// What a directory holds, with the kind of each entry and where links point.
[[maybe_unused]] QStringList shapeOf(const QString& dir)
{
    QStringList shape;
    const auto entries = QDir(dir).entryInfoList(QDir::AllEntries | QDir::System | QDir::Hidden |
                                                 QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries)
        shape << entry.fileName() + ':' +
                     (entry.isSymLink() ? "link to " + entry.symLinkTarget()
                      : entry.isDir()   ? QStringLiteral("dir")
                      : entry.isFile()  ? QStringLiteral("file")
                                        : QStringLiteral("other"));
    return shape;
}

// A device that accepts only the first limit bytes.
class FailingDevice : public QBuffer
{
public:
    explicit FailingDevice(qint64 limit) : m_limit(limit) {}

protected:
    qint64 writeData(const char* data, qint64 len) override
    {
        const qint64 room = qMax<qint64>(0, m_limit - size());
        return room == 0 ? -1 : QBuffer::writeData(data, qMin(len, room));
    }

private:
    qint64 m_limit;
};

} // namespace

class TestLoader : public QObject
{
    Q_OBJECT

private slots:
    void emptyFileHasNoRecordsAndNoMessage()
    {
        Messages messages;
        const auto doc = TBCFGFile::FromBytes(QByteArray(), nullptr, &messages);
        QCOMPARE(doc->Count(), 0);
        QVERIFY(doc->FullyLoaded());
        QVERIFY(messages.texts.isEmpty());
    }

    void levelsGiveParentsOccurrencesAndTree()
    {
        const QByteArray bytes = BcfgBuilder()
                                     .integer(1, "A", 0, 10, 1)
                                     .integer(1, "A", 0, 10, 2)
                                     .levelBegin("L")
                                     .integer(1, "A", 0, 10, 3)
                                     .record(4, "A", 0, 3, QByteArray(4, '\0'))
                                     .integer(3, "A", 0, 10, 4)
                                     .levelBegin("Empty", 0x80000000u)
                                     .levelEnd()
                                     .levelEnd("end")
                                     .levelEnd("stray")
                                     .integer(1, "B", 0, 10, 5)
                                     .bytes();
        RecordingTree tree;
        const auto doc = TBCFGFile::FromBytes(bytes, &tree, nullptr);
        QCOMPARE(doc->Count(), 11);
        const auto occ = [&](int i) { return doc->Record(i)->Occurrence; };
        const auto parent = [&](int i) { return doc->Record(i)->ParentIndex; };
        QCOMPARE(occ(0), 0);
        QCOMPARE(occ(1), 1);
        QCOMPARE(occ(3), 0); // same name inside a level starts again
        QCOMPARE(occ(4), 1); // whatever the type code
        QCOMPARE(occ(5), 2);
        QCOMPARE(parent(3), 2);
        QCOMPARE(parent(6), 2);
        QCOMPARE(parent(7), 6); // a level end belongs to the level it closes
        QCOMPARE(parent(8), 2);
        QCOMPARE(parent(9), -1); // nothing open: closes nothing
        QCOMPARE(parent(10), -1);
        QCOMPARE(tree.lines(),
                 QStringList({"0:A - [ 1 ]", "0:A - [ 2 ]", "0:L", "1:A - [ 3 ]", "1:A - [  ]",
                              "1:A - [ 4 ]", "1:Empty", "0:B - [ 5 ]"}));
        QVERIFY(tree.expanded.empty());
        QVERIFY(!doc->Modified);
    }

    // A level with many names counts them in a table; the top level's counts go on after it.
    void wideLevelsCountEveryName()
    {
        BcfgBuilder b;
        b.integer(1, "N3", 0, 1, 0).levelBegin("Wide");
        for (int round = 0; round < 3; ++round)
            for (int n = 0; n < 40; ++n)
                b.integer(1, "N" + QByteArray::number(n), 0, 1, 0);
        b.levelEnd().integer(1, "N3", 0, 1, 0);
        const auto doc = TBCFGFile::FromBytes(b.bytes(), nullptr, nullptr);
        QCOMPARE(doc->Count(), 124);
        for (int round = 0; round < 3; ++round)
            for (int n = 0; n < 40; ++n)
                QCOMPARE(doc->Record(2 + 40 * round + n)->Occurrence, round);
        QCOMPARE(doc->Record(123)->Occurrence, 1);
        QCOMPARE(doc->Record(123)->ParentIndex, -1);
    }

    void namesDifferingAfterTheZeroAreDifferent()
    {
        QByteArray a = BcfgBuilder::nameField("N");
        QByteArray b = a;
        b[10] = 'x';
        const auto doc = TBCFGFile::FromBytes(BcfgBuilder()
                                                  .integer(1, a, 0, 1, 0)
                                                  .integer(1, b, 0, 1, 0)
                                                  .integer(1, a, 0, 1, 0)
                                                  .bytes(),
                                              nullptr, nullptr);
        QCOMPARE(doc->Record(1)->Occurrence, 0);
        QCOMPARE(doc->Record(2)->Occurrence, 1);
        QCOMPARE(doc->Record(1)->NameText(), QByteArray("N"));
    }

    void unknownBlocks_data()
    {
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QString>("label");
        QTest::newRow("code 15") << BcfgBuilder::le32(15) + "rest"
                                 << "Unknown Block: 0x0F";
        QTest::newRow("code 256") << BcfgBuilder::le32(256) << "Unknown Block: 0x100";
        QTest::newRow("all ones") << BcfgBuilder::le32(0xFFFFFFFF) << "Unknown Block: 0xFFFFFFFF";
        QTest::newRow("code 0") << BcfgBuilder::le32(0) << "Unknown Block: 0x00";
        QTest::newRow("three stray bytes")
            << QByteArray("\x01\x02\x03", 3) << "Unknown Block: 0x00";
        QTest::newRow("one stray byte") << QByteArray("\x01", 1) << "Unknown Block: 0x00";
    }
    void unknownBlocks()
    {
        QFETCH(QByteArray, block);
        QFETCH(QString, label);
        BcfgBuilder builder;
        builder.levelBegin("Top").levelBegin("Inner").integer(1, "v", 0, 9, 1).raw(block);
        if (block.size() >= 4) // stray bytes can only stand at the very end
            builder.integer(1, "never", 0, 9, 1);
        const QByteArray bytes = builder.bytes();
        RecordingTree tree;
        Messages messages;
        const auto doc = TBCFGFile::FromBytes(bytes, &tree, &messages);
        QCOMPARE(doc->Count(), 3);
        QVERIFY(!doc->FullyLoaded());
        QCOMPARE(messages.texts, QStringList(label + "\n\rFile is not fully loaded"));
        // The entry is the last child of the innermost level, and the whole
        // top-level branch around it is expanded.
        QCOMPARE(tree.lines().last(), "2:" + label);
        QCOMPARE(tree.nodes.back().record, nullptr);
        QCOMPARE(tree.expanded, std::vector<int>{0});
        // Nothing is lost: saving writes the records, then the unread bytes.
        QCOMPARE(doc->Serialize(), bytes);
    }

    void withoutTreeTheMessageStillComes()
    {
        Messages messages;
        const auto doc = TBCFGFile::FromBytes(BcfgBuilder::le32(99), nullptr, &messages);
        QCOMPARE(messages.texts.size(), 1);
        QVERIFY(!doc->ShowInTree);
    }

    void negativeMaxStopsLikeAnUnknownBlock_data()
    {
        QTest::addColumn<quint32>("code");
        QTest::addColumn<QString>("label");
        QTest::newRow("2") << 2u << "Unreadable Block: 0x02 at offset 48";
        QTest::newRow("4") << 4u << "Unreadable Block: 0x04 at offset 48";
        QTest::newRow("5") << 5u << "Unreadable Block: 0x05 at offset 48";
        QTest::newRow("6") << 6u << "Unreadable Block: 0x06 at offset 48";
        QTest::newRow("10") << 10u << "Unreadable Block: 0x0A at offset 48";
    }
    void negativeMaxStopsLikeAnUnknownBlock()
    {
        QFETCH(quint32, code);
        QFETCH(QString, label);
        const QByteArray bytes = BcfgBuilder()
                                     .integer(1, "v", 0, 9, 1)
                                     .record(code, "bad", 0, quint32(-4), QByteArray(64, 'z'))
                                     .bytes();
        RecordingTree tree;
        Messages messages;
        const auto doc = TBCFGFile::FromBytes(bytes, &tree, &messages);
        QCOMPARE(doc->Count(), 1);
        QCOMPARE(QString::fromLatin1(tree.nodes.back().label), label);
        QCOMPARE(messages.texts.first(), label + "\n\rFile is not fully loaded");
        QCOMPARE(doc->Serialize(), bytes);
    }

    void cutShortRecordsFail_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray whole = BcfgBuilder().integer(1, "v", 0, 9, 1).bytes();
        QTest::newRow("header") << whole.left(20);
        QTest::newRow("payload") << whole.left(46);
        QTest::newRow("huge text max")
            << BcfgBuilder().record(4, "t", 0, 0x7FFFFFFF, "abc").bytes();
        QTest::newRow("huge choice max")
            << BcfgBuilder().record(5, "c", 0, 0x7FFFFFFF, QByteArray(40, 0)).bytes();
    }
    void cutShortRecordsFail()
    {
        QFETCH(QByteArray, bytes);
        RecordingTree tree;
        QCOMPARE(errorOf([&] {
                     TBCFGFile::FromBytes(BcfgBuilder().integer(1, "ok", 0, 1, 0).bytes() + bytes,
                                          &tree, nullptr);
                 }),
                 QStringLiteral("Stream read error"));
        QVERIFY(tree.nodes.empty()); // no entries of a document that does not exist
    }

    void payloadLengths()
    {
        const QByteArray bytes = BcfgBuilder()
                                     .text(4, "m0", 0, "")
                                     .text(4, "m4", 4, "abcd")
                                     .text(2, "m1023", 1023, "x")
                                     .text(4, "big", 5000, "large")
                                     .choice("empty", 0, {})
                                     .bytes();
        const auto doc = TBCFGFile::FromBytes(bytes, nullptr, nullptr);
        const auto len = [&](int i) {
            return static_cast<TBcfgRecString*>(doc->Record(i))->BufferLength;
        };
        QCOMPARE(len(0), 4);
        QCOMPARE(len(1), 8);
        QCOMPARE(len(2), 1024);
        QCOMPARE(len(3), 5004); // no fixed buffer: grows as the file needs
        QCOMPARE(doc->Count(), 5);
        QCOMPARE(doc->Serialize(), bytes);
    }

    void roundTripKeepsCarriedBytes()
    {
        QByteArray name = BcfgBuilder::nameField("Name");
        name[20] = 'Q'; // after the first zero
        const QByteArray bytes = BcfgBuilder()
                                     .integer(1, name, 7, 9, 8)
                                     .text(10, "s", 11, QByteArray("ab\0garbage", 10), 'f')
                                     .time("t", 9, 5, "rest!!")
                                     .date("d", 2008, 3, 7, "RS")
                                     .record(9, "end name", 0, 1234)
                                     .colour("c", 1, 2, 3, 4)
                                     .rect("r", 1, 2, 3, 65535)
                                     .bytes();
        QTemporaryDir dir;
        const QString in = dir.filePath("in.bcfg");
        const QString out = dir.filePath("out.bcfg");
        QFile f(in);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        auto doc = TBCFGFile::Load(in, nullptr, nullptr);
        doc->Save(out);
        QFile g(out);
        QVERIFY(g.open(QIODevice::ReadOnly));
        QCOMPARE(g.readAll(), bytes);
    }

    void marksFollowLevelsAndSaving()
    {
        const QByteArray bytes = BcfgBuilder()
                                     .levelBegin("Outer")
                                     .levelBegin("Inner")
                                     .integer(1, "v", 0, 9, 1)
                                     .levelEnd()
                                     .levelEnd()
                                     .integer(1, "w", 0, 9, 1)
                                     .bytes();
        auto doc = TBCFGFile::FromBytes(bytes, nullptr, nullptr);
        doc->Record(2)->MarkImported();
        QVERIFY(!doc->Modified);
        doc->Record(2)->MarkModified();
        for (int i : {0, 1, 2})
            QVERIFY(doc->Record(i)->Modified && doc->Record(i)->Imported);
        QVERIFY(!doc->Record(5)->Modified && !doc->Record(5)->Imported);
        QVERIFY(doc->Modified);

        // A failed write keeps every mark; a good one clears Modified only.
        FailingDevice failing(50);
        QVERIFY(failing.open(QIODevice::WriteOnly));
        QVERIFY_THROWS_EXCEPTION(BcfgError, doc->SaveTo(failing));
        QVERIFY(doc->Modified && doc->Record(2)->Modified);
        QBuffer buffer;
        QVERIFY(buffer.open(QIODevice::WriteOnly));
        doc->SaveTo(buffer);
        QCOMPARE(buffer.data(), bytes);
        QVERIFY(!doc->Modified);
        for (int i : {0, 1, 2})
            QVERIFY(!doc->Record(i)->Modified && doc->Record(i)->Imported);
    }

    void fileErrors()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath("missing.bcfg");
        const QString missingError = errorOf([&] { TBCFGFile::Load(missing, nullptr, nullptr); });
        QVERIFY2(missingError.startsWith("Cannot open file \"" + QDir::toNativeSeparators(missing) +
                                         "\". "),
                 qPrintable(missingError));
        QVERIFY_THROWS_EXCEPTION(BcfgError, TBCFGFile::Load(dir.path(), nullptr, nullptr));

        // Saving into a "directory" that is a regular file cannot create the file,
        // and leaves the marks alone.
        auto doc =
            TBCFGFile::FromBytes(BcfgBuilder().integer(1, "v", 0, 9, 1).bytes(), nullptr, nullptr);
        doc->Record(0)->MarkModified();
        QFile plain(dir.filePath("plain"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QString belowError = errorOf([&] { doc->Save(dir.filePath("plain/x.bcfg")); });
        QVERIFY2(belowError.startsWith("Cannot create file \""), qPrintable(belowError));
        QVERIFY(doc->Modified && doc->Record(0)->Modified);
    }

    // Nothing but a regular file is opened: a device may never end and a pipe
    // waits for a writer.
    void notRegularFilesAreNotRead_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("reason");
        QTest::newRow("directory") << "dir"
                                   << "Is a directory";
        QTest::newRow("link to a directory") << "link dir"
                                             << "Is a directory";
        QTest::newRow("device") << "/dev/null"
                                << "Not a regular file";
        QTest::newRow("link to a device") << "link /dev/null"
                                          << "Not a regular file";
        QTest::newRow("pipe") << "fifo"
                              << "Not a regular file";
        QTest::newRow("link to a pipe") << "link fifo"
                                        << "Not a regular file";
    }
    void notRegularFilesAreNotRead()
    {
#ifndef Q_OS_UNIX
        QSKIP("needs pipes and /dev/null");
#else
        QFETCH(QString, what);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        TestFifo fifo(dir.filePath("fifo"));
        QVERIFY(fifo.created());
        const QString path = makeEntry(dir.path(), what);
        QVERIFY(!path.isEmpty());
        RecordingTree tree;
        QCOMPARE(errorOf([&] { TBCFGFile::Load(path, &tree, nullptr); }),
                 QStringLiteral("Cannot open file \"%1\". %2")
                     .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), reason));
        QVERIFY(tree.nodes.empty());
        QVERIFY(fifo.stillThere());
#endif
    }

    // Saving renames a new file over the path: never over a pipe, a device or
    // a directory, nor over what a link leads to when that is one of them.
    void saveNeverReplacesWhatIsNotARegularFile_data()
    {
        QTest::addColumn<QString>("what");
        QTest::newRow("pipe") << "fifo";
        QTest::newRow("link to a pipe") << "link fifo";
        QTest::newRow("directory") << "dir";
        QTest::newRow("link to a directory") << "link dir";
        QTest::newRow("links in a loop") << "loop";
    }
    void saveNeverReplacesWhatIsNotARegularFile()
    {
#ifndef Q_OS_UNIX
        QSKIP("needs pipes");
#else
        QFETCH(QString, what);
        QTemporaryDir dir;
        TestFifo fifo(dir.filePath("fifo"));
        QVERIFY(fifo.created());
        const QString path = makeEntry(dir.path(), what);
        QVERIFY(!path.isEmpty());
        const QStringList before = shapeOf(dir.path());
        auto doc =
            TBCFGFile::FromBytes(BcfgBuilder().integer(1, "v", 0, 9, 1).bytes(), nullptr, nullptr);
        doc->Record(0)->MarkModified();
        QCOMPARE(errorOf([&] { doc->Save(path); }),
                 QStringLiteral("Cannot create file \"%1\". Not a regular file")
                     .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
        QCOMPARE(shapeOf(dir.path()), before);
        QVERIFY(fifo.stillThere());
        QVERIFY(doc->Modified && doc->Record(0)->Modified);
#endif
    }

    // Windows opens its devices under these names in every folder: they are never
    // read nor written over there (elsewhere they are plain names).
    void windowsDeviceNames_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("device");
        for (const char* name : {"CON", "nul", "Prn.bcfg", "aux.x.y", "COM1", "lpt9.bcfg",
                                 "CON .bcfg", "sub/con", "C:NUL", "\\\\.\\NUL", "//./COM2"})
            QTest::newRow(name) << QString::fromLatin1(name) << true;
        for (const char* name : {"CONS", "COM0", "COM10", "nul-x.bcfg", "con/x.bcfg", "LPT",
                                 "\\\\server\\share\\a.bcfg", "x.con"})
            QTest::newRow(name) << QString::fromLatin1(name) << false;
    }
    void windowsDeviceNames()
    {
        QFETCH(QString, path);
        QFETCH(bool, device);
        QCOMPARE(PlatformFile::IsWindowsDeviceName(path), device);
#ifdef Q_OS_WIN
        if (!device)
            return;
        const QString reason =
            QStringLiteral(" \"%1\". Not a regular file")
                .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
        try {
            TBCFGFile::Load(path, nullptr, nullptr);
            QFAIL("loaded a device");
        } catch (const BcfgError& e) {
            QCOMPARE(e.text(), "Cannot open file" + reason);
        }
        try {
            TBCFGFile::FromBytes(BcfgBuilder().integer(1, "v", 0, 9, 1).bytes(), nullptr, nullptr)
                ->Save(path);
            QFAIL("saved over a device");
        } catch (const BcfgError& e) {
            QCOMPARE(e.text(), "Cannot create file" + reason);
        }
#endif
    }

    // A file without write permission is never replaced, also for an administrator (as
    // Windows keeps a read-only file); a file that is replaced keeps its permission bits.
    void permissionsAreKept_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("444 refused")
            << int(QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther) << false;
        QTest::newRow("640 kept") << int(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup)
                                  << true;
    }
    void permissionsAreKept()
    {
        QFETCH(int, bits);
        QFETCH(bool, replaced);
        const QFile::Permissions mode = QFile::Permissions::fromInt(bits);
        QTemporaryDir dir;
        const QString path = dir.filePath("mode.bcfg");
        const QByteArray bytes = BcfgBuilder().integer(1, "old", 0, 9, 1).bytes();
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        QVERIFY(file.setPermissions(mode));
        auto doc = TBCFGFile::FromBytes(BcfgBuilder().integer(1, "new", 0, 9, 2).bytes(), nullptr,
                                        nullptr);
        doc->Record(0)->MarkModified();
        const QString error = errorOf([&] { doc->Save(path); });
        QCOMPARE(error == QStringLiteral("(no error)"), replaced);
        QCOMPARE(doc->Modified, !replaced);
        if (!replaced)
            QCOMPARE(error, QStringLiteral("Cannot create file \"%1\". Existing file %1 is not "
                                           "writable")
                                .arg(QDir::toNativeSeparators(path)));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll() == bytes, !replaced);
        file.close();
#ifdef Q_OS_UNIX
        constexpr auto userBits = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
        QCOMPARE(QFileInfo(path).permissions() & ~userBits, mode);
#endif
        QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    }

    // A load knows what it read; a save in place writes only over those bytes: a file that
    // another program rewrote is left as that program wrote it, while a new time stamp alone
    // or a removed file is no obstacle.
    void saveInPlaceKeepsOtherWriters_data()
    {
        QTest::addColumn<QString>("meanwhile");
        QTest::addColumn<int>("disk"); // FileState::Disk before the save
        QTest::addColumn<bool>("written");
        QTest::newRow("unchanged") << "" << int(FileState::Disk::Same) << true;
        QTest::newRow("rewritten in place") << "rewrite" << int(FileState::Disk::Changed) << false;
        QTest::newRow("same size, other bytes")
            << "same size" << int(FileState::Disk::Changed) << false;
        QTest::newRow("replaced by rename") << "rename" << int(FileState::Disk::Changed) << false;
        QTest::newRow("touched only") << "touch" << int(FileState::Disk::Same) << true;
        QTest::newRow("deleted") << "delete" << int(FileState::Disk::Missing) << true;
    }
    void saveInPlaceKeepsOtherWriters()
    {
        QFETCH(QString, meanwhile);
        QFETCH(int, disk);
        QFETCH(bool, written);
        QTemporaryDir dir;
        const QString path = dir.filePath("place.bcfg");
        const auto put = [](const QString& to, const QByteArray& bytes) {
            QFile file(to);
            return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        };
        const auto bytesOf = [](const QString& from) {
            QFile file(from);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
        };
        const QByteArray bytes = BcfgBuilder().integer(1, "v", 0, 9, 1).bytes();
        const QByteArray other =
            BcfgBuilder().integer(1, "v", 0, 9, 7).integer(1, "w", 0, 9, 0).bytes();
        QVERIFY(put(path, bytes));
        auto doc = TBCFGFile::Load(path, nullptr, nullptr);
        const FileState read = doc->ReadState();
        QVERIFY(read.known);
        QCOMPARE(read.size, bytes.size());
        QCOMPARE(read.digest, FileDigest::Of(bytes));
        QCOMPARE(read.modified, QFileInfo(path).lastModified());

        QByteArray theirs = bytes;
        if (meanwhile == "rewrite") {
            theirs = other;
            QVERIFY(put(path, theirs));
        } else if (meanwhile == "same size") {
            theirs = BcfgBuilder().integer(1, "v", 0, 9, 8).bytes();
            QVERIFY(put(path, theirs));
        } else if (meanwhile == "rename") {
            theirs = other;
            QVERIFY(put(path + ".new", theirs));
            QVERIFY(QFile::remove(path) && QFile::rename(path + ".new", path));
        } else if (meanwhile == "touch") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(
                file.setFileTime(read.modified.addSecs(-60), QFileDevice::FileModificationTime));
        } else if (meanwhile == "delete") {
            QVERIFY(QFile::remove(path));
        }
        QCOMPARE(int(read.Compare(path)), disk);

        static_cast<TBcfgRec0103*>(doc->Record(0))->Value = 2;
        doc->Record(0)->MarkModified();
        const QString error = errorOf([&] { doc->SaveInPlace(path, read); });
        QCOMPARE(error == QStringLiteral("(no error)"), written);
        QCOMPARE(doc->Modified, !written);
        if (written) {
            QCOMPARE(bytesOf(path), doc->Serialize());
            QVERIFY(QFileInfo(path).permissions() & QFile::WriteOwner); // a new file's own mode
        } else {
            QCOMPARE(bytesOf(path), theirs);
            QCOMPARE(error, QStringLiteral("\"%1\" was changed by another program after it was "
                                           "read; nothing was written")
                                .arg(QDir::toNativeSeparators(path)));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"place.bcfg"});
        }
    }

    // A link to a regular file stands for the file: loading reads it, saving
    // replaces the file (keeping its permissions) and leaves the link.
    void linksToRegularFilesAreFollowed()
    {
#ifdef Q_OS_WIN
        QSKIP("QFile::link makes a shortcut (.lnk), a file of its own that the system does not "
              "follow");
#endif
        QTemporaryDir dir;
        const QString target = dir.filePath("target.bcfg");
        const QString link = dir.filePath("link.bcfg");
        QFile file(target);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(BcfgBuilder().integer(1, "old", 0, 9, 1).bytes());
        file.close();
        const QFile::Permissions permissions =
            QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(file.setPermissions(permissions));
        QVERIFY(QFile::link(target, link));
        QCOMPARE(TBCFGFile::Load(link, nullptr, nullptr)->Record(0)->NameText(), QByteArray("old"));

        const QByteArray bytes = BcfgBuilder().integer(1, "new", 0, 9, 2).bytes();
        TBCFGFile::FromBytes(bytes, nullptr, nullptr)->Save(link);
        QCOMPARE(QFileInfo(link).symLinkTarget(), target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
        const QFile::Permissions forWhoever = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
        QCOMPARE(QFile::permissions(target) & ~forWhoever, permissions);
    }

    void manyRecordsLoadFast()
    {
        BcfgBuilder builder;
        for (int i = 0; i < 20000; ++i) {
            if (i % 100 == 0)
                builder.levelBegin("Section");
            builder.integer(1, "Same", 0, 10, 1);
            if (i % 100 == 99)
                builder.levelEnd();
        }
        QElapsedTimer timer;
        timer.start();
        const auto doc = TBCFGFile::FromBytes(builder.bytes(), nullptr, nullptr);
        QVERIFY2(timer.elapsed() < 2000, "occurrence counting is not linear");
        QCOMPARE(doc->Record(doc->Count() - 2)->Occurrence, 99);
    }

    void recordMemoryGoesWithItsDocument()
    {
        BcfgBuilder builder;
        for (int i = 0; i < 50000; ++i)
            builder.checkBox("Show", 1);
        const std::size_t before = RecordPool::DocumentBytes();
        auto big = TBCFGFile::FromBytes(builder.bytes(), nullptr, nullptr);
        const std::size_t withBig = RecordPool::DocumentBytes() - before;
        if (withBig == 0)
            QSKIP("records come from the plain heap in this build");
        QVERIFY(withBig >= 50000 * 48);
        big.reset();
        QCOMPARE(RecordPool::DocumentBytes(), before);
        // A small file opened after the big one holds a chunk, not what the big one took.
        const auto small =
            TBCFGFile::FromBytes(BcfgBuilder().checkBox("Show", 1).bytes(), nullptr, nullptr);
        QVERIFY(RecordPool::DocumentBytes() - before <= 1024 * 1024);
        QVERIFY(RecordPool::DocumentBytes() - before < withBig);
    }
};

QTEST_GUILESS_MAIN(TestLoader)
#include "tst_loader.moc"
