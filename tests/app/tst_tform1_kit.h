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
#include <QTreeWidgetItemIterator>
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

// The first entry whose label starts with text.
inline QTreeWidgetItem* entry(TForm1& form, const QString& text)
{
    for (QTreeWidgetItemIterator it(form.TreeView1); *it; ++it)
        if ((*it)->text(0).startsWith(text))
            return *it;
    return nullptr;
}

inline QStringList labels(TForm1& form)
{
    QStringList result;
    for (QTreeWidgetItemIterator it(form.TreeView1); *it; ++it)
        result << (*it)->text(0);
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
inline Drawn drawn(TForm1& form, QTreeWidgetItem* item, bool selected)
{
    QStyleOptionViewItem option;
    option.palette = form.TreeView1->palette();
    if (selected)
        option.state |= QStyle::State_Selected;
    const QModelIndex index = form.TreeView1->indexFromItem(item);
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

// Selects the entry and returns a point in the middle of its label, in viewport coordinates.
inline QPoint selectEntry(TForm1& form, QTreeWidgetItem* item)
{
    form.TreeView1->setCurrentItem(item);
    form.TreeView1->scrollToItem(item);
    return form.TreeView1->LabelRect(item).center();
}

} // namespace kit
