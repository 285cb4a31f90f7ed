#pragma once

// Shared by the main-window tests: a window with its dialogs answered by the test, files
// written from builder bytes into a temporary directory, and entry lookup by label.

#include "AppGlobals.h"
#include "BcfgBuilder.h"
#include "CodePage.h"
#include "DialogAnswers.h"
#include "Dialogs.h"
#include "FileOpenEdit.h"
#include "MainTree.h"
#include "TBCFGFile.h"
#include "TForm1.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>
#include <vector>

namespace kit {

using answers::startUp;

inline QString write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

inline QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The system's reason for not opening a missing file ("No such file or directory" on Linux).
inline QString missingFileReason(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString() : file.errorString();
}

// One main window at a time, after start-up; a test's cleanup() resets it.
class Window
{
public:
    struct Opened {
        TForm1& form;
        QString path;
    };
    // Started with these command-line arguments.
    TForm1& start(const QStringList& arguments = {})
    {
        m_form = std::make_unique<TForm1>();
        m_form->FormCreate(arguments);
        return *m_form;
    }
    // Started on the file name in dir, written from bytes.
    Opened open(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
    {
        const QString path = write(dir, name, bytes);
        return {start({path}), path};
    }
    void reset() { m_form.reset(); }

private:
    std::unique_ptr<TForm1> m_form;
};

// An entry of the main window's tree, as the tests ask about it: its index in the tree's
// model, its label, its parent, whether the tree shows it expanded or selected. It stands for
// an index wherever the tree takes one; an invalid index is no entry (false).
class Entry
{
public:
    Entry() = default;
    Entry(std::nullptr_t) {}
    Entry(MainTree* tree, const QModelIndex& index) : m_tree(tree), m_index(index) {}
    operator QModelIndex() const { return m_index; }
    explicit operator bool() const { return m_index.isValid(); }
    // item->text(0) and the like read as they did when entries were items.
    const Entry* operator->() const { return this; }
    bool operator==(const Entry& other) const { return m_index == other.m_index; }

    QString text(int /*column*/) const { return MainTree::Label(m_index); }
    Entry parent() const { return {m_tree, m_index.parent()}; }
    int childCount() const { return m_tree->model()->rowCount(m_index); }
    bool isExpanded() const { return m_tree->isExpanded(m_index); }
    void setExpanded(bool expanded) const { m_tree->setExpanded(m_index, expanded); }
    bool isSelected() const { return m_tree->selectionModel()->isSelected(m_index); }
    void setSelected(bool selected) const
    {
        m_tree->selectionModel()->select(m_index, selected ? QItemSelectionModel::Select
                                                           : QItemSelectionModel::Deselect);
    }

private:
    MainTree* m_tree = nullptr;
    QModelIndex m_index;
};

// Every entry, in the order the tree shows them with every section expanded.
inline QList<Entry> all(TForm1& form)
{
    QList<Entry> result;
    const EntryModel& entries = *form.TreeView1->Entries();
    for (int i = 0; i < entries.Count(); ++i)
        result << Entry(form.TreeView1, entries.At(i));
    return result;
}

inline Entry current(TForm1& form)
{
    return {form.TreeView1, form.TreeView1->currentIndex()};
}

inline QList<Entry> selected(TForm1& form)
{
    QList<Entry> result;
    for (const QModelIndex& index : form.TreeView1->selectionModel()->selectedIndexes())
        result << Entry(form.TreeView1, index);
    return result;
}

// The entry at row of the top level.
inline Entry topLevel(TForm1& form, int row)
{
    return {form.TreeView1, form.TreeView1->model()->index(row, 0)};
}

// The first entry whose label starts with text.
inline Entry entry(TForm1& form, const QString& text)
{
    for (const Entry& each : all(form))
        if (each->text(0).startsWith(text))
            return each;
    return nullptr;
}

inline QStringList labels(TForm1& form)
{
    QStringList result;
    for (const Entry& each : all(form))
        result << each->text(0);
    return result;
}

inline TBcfgRecAll* record(TForm1& form, const QString& text)
{
    return MainTree::RecordOf(entry(form, text));
}

// Text and background of an entry exactly as the tree's painting sees them.
struct Drawn {
    QColor text;
    QColor background;
    QString label; // the text drawn
};
inline Drawn drawn(TForm1& form, const QModelIndex& index, bool selected)
{
    QStyleOptionViewItem option;
    option.palette = form.TreeView1->palette();
    if (selected)
        option.state |= QStyle::State_Selected;
    form.TreeView1->Colours()->initStyleOption(&option, index);
    const bool highlighted = option.state & QStyle::State_Selected;
    return {option.palette.color(highlighted ? QPalette::HighlightedText : QPalette::Text),
            option.backgroundBrush.style() == Qt::NoBrush ? QColor()
                                                          : option.backgroundBrush.color(),
            option.text};
}

// Shows the window, makes it active and gives the tree the focus.
inline bool showWithTreeFocus(TForm1& form)
{
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowActive(&form))
        return false;
    form.TreeView1->setFocus();
    return form.TreeView1->hasFocus();
}

// Presses key with modifiers in the tree, the file dialogs it opens answered with fileNames in
// order and the check boxes of the first with checks; returns what was shown.
inline QList<Dialogs::Shown> pressAnswering(TForm1& form, Qt::Key key,
                                            Qt::KeyboardModifiers modifiers,
                                            const QStringList& fileNames,
                                            const QList<bool>& checks = {})
{
    Dialogs::TakeShown();
    for (const QString& name : fileNames)
        Dialogs::SetNextFileName(name);
    if (!checks.isEmpty())
        Dialogs::SetNextChecks(checks);
    QTest::keyClick(form.TreeView1, key, modifiers);
    return Dialogs::TakeShown();
}

// Selects the entry and returns a point in the middle of its label, in viewport coordinates.
inline QPoint selectEntry(TForm1& form, const QModelIndex& entry)
{
    form.TreeView1->setCurrentIndex(entry);
    form.TreeView1->scrollTo(entry);
    return form.TreeView1->LabelRect(entry).center();
}

} // namespace kit
