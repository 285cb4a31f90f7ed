#pragma once

#include "AnchorLayout.h"
#include "DocumentSession.h"
#include "FileName.h"
#include "MainTree.h"
#include "WindowPlacement.h"
#include "WindowPositionKeeper.h"

#include <QCursor>
#include <QRect>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

class BusyInputFilter;
class DiskChangeBar;
class EditorHost;
class FileOpenEdit;
class FindBar;
class QAction;
class QDialog;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QUndoStack;
class TBCFGFile;

// The main window: the file field, the parameter tree and the commands on the current document,
// which its DocumentSession holds; the window forwards the commands to it and shows what it
// announces. Message boxes and file dialogs go through Dialogs, so tests answer them.
class TForm1 : public QWidget
{
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // --- start-up (in this order) ---
    // Scales the window for the screen's dpi and opens the file named by the first
    // command-line argument (arguments without the program's name). Errors are reported in
    // boxes at once, before the window is shown.
    void FormCreate(const QStringList& arguments);
    // The popups' host; created after this window. Without one no edit starts.
    void SetEditorHost(EditorHost* host) { m_editorHost = host; }
    // The help window, shown modally by Help; created after this window.
    void SetHelpWindow(QDialog* help) { m_help = help; }
    // Access to the settings file that keeps the window position; without it nothing is
    // restored or saved.
    using Settings = WindowPositionKeeper::Settings;
    void SetSettings(Settings settings) { m_position->SetSettings(std::move(settings)); }

    // --- rules without a window ---
    // The command-line argument as a file name: ".bcfg" appended when it has no ".".
    static QString CommandLineFileName(const QString& argument)
    {
        return WithBcfgExtension(argument);
    }
    // An outer size at dpi pixels per inch: scaled by dpi / 96 (only above 96), each side to
    // the nearest integer, halves to the even neighbour.
    static QSize DpiScaledSize(const QSize& outer, int dpi)
    {
        return WindowPlacement::DpiScaled(outer, dpi);
    }
    static QSize DesignClientSize() { return {488, 491}; }
    static QSize DesignOuterSize() { return {496, 518}; }
    static QSize MinimumOuterSize() { return {320, 460}; }

    // --- handlers ---
    void LMDFileOpenEdit1Change();
    void Button1Click(); // Save
    void Button2Click(); // Save As
    void Button3Click(); // Exit
    void Button4Click(); // Import
    void Button5Click(); // expand all
    void Button6Click(); // collapse all
    void Button7Click(); // Help
    void TreeView1Click();
    void TreeView1DblClick(const QPoint& globalPos);
    // key: a Qt key code; Enter or Return starts an edit wherever the mouse is.
    void TreeView1KeyPress(int key);
    // delta in wheel units (120 per notch) at the cursor's screen position; returns whether
    // the wheel was consumed (otherwise the tree scrolls as usual).
    bool FormMouseWheel(int delta, const QPoint& globalPos);
    // Syncs the change marker and Save with the document and repaints the tree. The session
    // announces its own changes (the marker and Save follow modifiedChanged, the entries
    // recordsChanged); this, and every repaint of the window, catches a change made straight
    // on the records.
    void FormPaint();
    void Timer1Timer()
    {
        Timer1->stop();
        m_position->Restore();
    }
    // The saved position is still to be applied (the timer has not fired, or the window is not
    // on screen yet).
    bool PositionRestorePending() const { return Timer1->isActive() || m_position->Pending(); }
    void SavePositionExecute() { m_position->Save(); }

    void StartEdit();
    // Opens the find bar over the tree's bottom edge (Ctrl+F, "/" in the tree).
    void ShowFindBar();
    // The strip that tells of changes to the open file by other programs.
    DiskChangeBar* DiskBar() const { return m_diskBar; }
    // Selects the next (or previous) value entry whose record is Modified or Imported, in tree
    // order from the selection, wrapping at the ends, and expands to it (F4, Shift+F4).
    // Section entries are passed over: their marks only echo their contents. Returns whether
    // there was one.
    bool SelectNextChanged(bool forward);
    bool CursorOnSelectedEntry() const // at the mouse cursor
    {
        return CursorOnSelectedEntry(QCursor::pos());
    }
    bool CursorOnSelectedEntry(const QPoint& globalPos) const
    {
        return TreeView1->CursorOnSelectedEntry(globalPos);
    }
    // The selected entry's label in screen coordinates; empty without a selected entry.
    QRect SelectedLabelScreenRect() const { return TreeView1->SelectedLabelScreenRect(); }

    // --- history ---
    // Every value change of the current document is one step here; opening another file
    // clears it. Undo and Redo do nothing while an open, an import or a popup runs.
    QUndoStack* UndoStack() const { return m_session->UndoStack(); }
    void Undo()
    {
        if (!m_editorOpen)
            m_session->Undo();
    }
    void Redo()
    {
        if (!m_editorOpen)
            m_session->Redo();
    }

    // --- state ---
    DocumentSession* Session() const { return m_session; }
    TBCFGFile* CurrentDoc() const { return m_session->Doc(); }
    // The full path the current document was opened from: Save writes there, whatever the
    // file field holds after a failed or declined open.
    const QString& DocumentFileName() const { return m_session->FileName(); }
    bool EditorOpen() const { return m_editorOpen; }
    // An open or an import is running; user input to this window is swallowed meanwhile.
    bool Busy() const { return m_session->Busy(); }
    const ImportResult& LastImport() const { return m_session->LastImport(); }
    // Called after each import step, once the step's events are processed (tests watch
    // the panel here); nullptr for none.
    void SetImportStepObserver(std::function<void()> observer)
    {
        m_importStepObserver = std::move(observer);
    }

    // --- controls ---
    QLabel* Label1;
    FileOpenEdit* LMDFileOpenEdit1;
    QLabel* Label2;
    MainTree* TreeView1;
    QPushButton* Button1;
    QPushButton* Button2;
    QPushButton* Button4;
    QLabel* Label5;
    QLabel* Label3;
    QPushButton* Button7;
    QPushButton* Button3;
    QLabel* Label7;
    QPushButton* Button5;
    QPushButton* Button6;
    QFrame* Panel1;
    QLabel* Label6;
    QProgressBar* ProgressBar1;
    QTimer* Timer1;
    QAction* SavePosition;

    // --- comparing and previewing an import ---
    // Chooses a file and shows how it differs from the current document.
    void CompareWithFile();
    // Chooses a file and imports the changes the user keeps ticked in the preview.
    void ImportWithPreview();
    // Upgrading: chooses the user's file from the older version and the older version's own
    // file, and imports what the user changed, as the preview shows and the user ticks it.
    void UpgradeFromOlderVersion();

    // --- the window's commands beyond its buttons (TForm1Commands.cpp) ---
    // Each is an action with its keys, made from one table; the entry menu shows them with
    // their keys. UpdateCommands decides, in one place, which of them can run now.
    QAction* EditAction;              // Enter, F2 (in the tree)
    QAction* UndoAction;              // Ctrl+Z
    QAction* RedoAction;              // Ctrl+Y, Ctrl+Shift+Z
    QAction* CopyValueAction;         // (entry menu only)
    QAction* CopyPathAction;          // (entry menu only)
    QAction* FindAction;              // Ctrl+F
    QAction* NextChangedAction;       // F4
    QAction* PreviousChangedAction;   // Shift+F4
    QAction* CompareWithFileAction;   // Ctrl+D
    QAction* ImportWithPreviewAction; // Ctrl+Shift+I
    QAction* UpgradeAction;           // Ctrl+U
    QAction* ExportSettingsAction;    // Ctrl+E
    QAction* ApplySettingsAction;     // Ctrl+Shift+E
    QAction* CopyLabelAction;         // Ctrl+C (in the tree)
    QAction* SaveAction;              // Ctrl+S
    // The entry menu's commands in order; a change of group is a separator.
    struct MenuCommand {
        QAction* action;
        int group;
    };
    const std::vector<MenuCommand>& EntryMenuCommands() const { return m_entryMenu; }
    // Enables each command by the window's state: an open or import running, a popup open,
    // a document, the selected entry, the undo stack.
    void UpdateCommands();
    // Settings as text (SettingsTransfer): the open document's values to a TOML file, and such
    // a file applied as one step.
    void ExportSettings();
    void ApplySettings();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void connectSession();
    void buildTabOrder();
    void createCommands();
    // The tree's tool tips: each entry's details, taken when the tip is asked for.
    void installDetails();
    void showModified(bool modified);
    void setEditorOpen(bool open);

    AnchorLayout m_layout;
    DocumentSession* m_session = nullptr;
    BusyInputFilter* m_busyFilter = nullptr;
    WindowPositionKeeper* m_position = nullptr;
    bool m_editorOpen = false;
    // Measured once at start-up and shown in the diagnostic label: popups are
    // placed through the platform's own mapping, which knows the real frame.
    int m_captionOffset = 0;
    EditorHost* m_editorHost = nullptr;
    QDialog* m_help = nullptr;
    std::function<void()> m_importStepObserver;
    FindBar* m_findBar = nullptr;
    std::vector<MenuCommand> m_entryMenu;
    // Every command with what it needs to be enabled (TForm1Commands.cpp).
    std::vector<std::pair<QAction*, int>> m_commands;
    DiskChangeBar* m_diskBar = nullptr;
};
