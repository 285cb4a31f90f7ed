#pragma once

#include <QByteArray>

class TBcfgRecAll;

// The tree that receives a document's entries while it loads. The main window
// implements it over its tree view, the CLI to print the tree, tests to record.
// An entry is an opaque handle; nullptr stands for the root (top level). Entries come in
// tree order: each after its parent and after every entry of its earlier siblings' branches.
class TreeSink
{
public:
    using Entry = void*;

    virtual ~TreeSink() = default;

    // Appends an entry as the last child of parent (nullptr: at top level).
    // label is 8-bit text in the code page; record is nullptr for the entry of
    // a block that could not be read. Returns the new entry (never nullptr).
    virtual Entry append(Entry parent, const QByteArray& label, TBcfgRecAll* record) = 0;
    // At most this many entries follow: a tree may make room for them at once.
    virtual void reserve(int /*entries*/) {}
    // The parent of an entry, nullptr for a top-level entry.
    virtual Entry parentOf(Entry entry) = 0;
    // Every entry of the load is appended (a tree may show them now); before any expandAll.
    virtual void finishAppending() {}
    // Expands the entry together with all its descendants.
    virtual void expandAll(Entry entry) = 0;
};

// Messages a load must show to the user (the unknown-block message). The
// loader neither shows a box nor prints; whoever loads decides how to report.
class LoadReporter
{
public:
    virtual ~LoadReporter() = default;
    // text holds "\n\r" between its two lines, exactly as the message box shows it.
    virtual void loadMessage(const QString& text) = 0;
};
