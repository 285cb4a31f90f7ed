#pragma once

#include <QByteArray>
#include <memory>
#include <unordered_map>
#include <vector>

class TBCFGFile;
class TBcfgRecAll;

// What a change can alter in a record: its value and its marks.
struct RecordState {
    QByteArray payload; // as WritePayload writes it
    bool modified = false;
    bool imported = false;
    QByteArray labelBeforeImport;

    bool operator==(const RecordState&) const = default;
};

// One step of the user's changes: every record it altered, with its state before and
// after. Steps are made by ChangeHistory::Finish and applied by its Undo and Redo.
class ChangeStep
{
public:
    struct Entry {
        int index = 0; // the record's Index
        RecordState before;
        RecordState after;
    };

    const std::vector<Entry>& Entries() const { return m_entries; }
    // Folds next, made right after this step, into it: for every record, its state before
    // this step and after next. Steps with a save between them do not fold (false).
    bool Absorb(const ChangeStep& next);
    // Whether applying either side changes nothing (a wheel roll turned back to its start).
    bool Empty() const;

private:
    friend class ChangeHistory;
    std::vector<Entry> m_entries;
    int m_generation = 0; // saves before the step was made
};

// The states of some records before a change.
class ChangeCapture
{
private:
    friend class ChangeHistory;
    std::vector<std::pair<int, RecordState>> m_states;
};

// The data side of a document's undo history. A change is captured before it runs
// (Begin...) and turned into a step after it (Finish); Undo and Redo put a step's states
// back. Marks follow the file, not only the step: a record whose value differs from what
// its file holds is Modified, so undoing past a save marks what it changes again, and
// coming back to the saved values clears the marks. A level is marked while a value record
// inside it is; the history counts them per level, so a step's Undo and Redo touch that
// step's records and the levels around them only, whatever the document's size. The counts
// follow the marks as long as every change is captured (Begin... and Finish). The document
// must outlive the history and keep its records (one history per opened document).
class ChangeHistory
{
public:
    // Counts the marks the document holds already.
    explicit ChangeHistory(TBCFGFile& doc);

    // Before a change of record: it and its enclosing levels, whose marks may change too.
    ChangeCapture Begin(const TBcfgRecAll& record) const;
    // Before a change that may alter any record (an import).
    ChangeCapture BeginAll() const;
    // The step from the captured states to the current ones; nullptr when nothing changed.
    std::unique_ptr<ChangeStep> Finish(const ChangeCapture& capture);

    // The document was written to its file: its current values are what the file holds.
    void Saved();

    void Undo(const ChangeStep& step) { apply(step, false); }
    void Redo(const ChangeStep& step) { apply(step, true); }

    static RecordState StateOf(const TBcfgRecAll& record);

private:
    void apply(const ChangeStep& step, bool after);
    // A value record's Modified mark became marked: +1, or cleared: -1; the counts of the
    // levels around it follow.
    void countMark(const TBcfgRecAll& record, int change);
    // Marks record's enclosing levels and the document by what they hold.
    void markAround(const TBcfgRecAll& record);

    TBCFGFile& m_doc;
    int m_generation = 0;
    // The file's payload of every record a step has altered, by Index.
    std::unordered_map<int, QByteArray> m_saved;
    // The Modified value records inside each level (by its Index) that holds any, and in
    // the whole document.
    std::unordered_map<int, int> m_markedInside;
    int m_marked = 0;
};
