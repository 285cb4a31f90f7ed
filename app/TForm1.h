#pragma once

#include "Import.h"

#include <QList>
#include <QRect>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class ChangeCapture;
class ChangeHistory;
struct Difference;
class EditorHost;
class FileOpenEdit;
class FindBar;
class MainTree;
class QAction;
class QDialog;
class QFrame;
class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QMimeData;
class QTreeWidgetItem;
class QUndoStack;
class TBCFGFile;

// What the last import did, for the window's tests and anyone who wants to show it.
struct ImportResult {
    QString fileName;    // the chosen name, with ".bcfg" appended when it had no "."
    bool loaded = false; // the chosen file could be read
    int records = 0;     // records of the chosen file
    int steps = 0;       // progress steps taken
    int progressMaximum = 0;
    bool translated = false; // level names were translated
    Import::Result merge;
};

// The main window: the file field, the parameter tree and the commands on the current
// document. It owns the current document. Message boxes and file dialogs go through
// Dialogs, so tests answer them.
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
    struct Settings {
        // The integer of section/key, or fallback when the file, the key or a number is missing.
        std::function<int(const QString& section, const QString& key, int fallback)> readInteger;
        // Throws BcfgError with the text for the error box when the file cannot be written.
        std::function<void(const QString& section, const QString& key, int value)> writeInteger;
    };
    void SetSettings(Settings settings) { m_settings = std::move(settings); }

    // --- rules without a window ---
    // The command-line argument as a file name: ".bcfg" appended when it has no ".".
    static QString CommandLineFileName(const QString& argument);
    // An outer size at dpi pixels per inch: scaled by dpi / 96 (only above 96), each side to
    // the nearest integer, halves to the even neighbour.
    static QSize DpiScaledSize(const QSize& outer, int dpi);
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
    // Syncs the change marker and Save with the document and repaints the tree.
    void FormPaint();
    void Timer1Timer();
    // The saved position is still to be applied (the timer has not fired, or the window is not
    // on screen yet).
    bool PositionRestorePending() const;
    void SavePositionExecute();

    void StartEdit();
    // Opens the find bar over the tree's bottom edge (Ctrl+F, "/" in the tree).
    void ShowFindBar();
    // Selects the next (or previous) value entry whose record is Modified or Imported, in tree
    // order from the selection, wrapping at the ends, and expands to it (F4, Shift+F4).
    // Section entries are passed over: their marks only echo their contents. Returns whether
    // there was one.
    bool SelectNextChanged(bool forward);
    bool CursorOnSelectedEntry() const; // at the mouse cursor
    bool CursorOnSelectedEntry(const QPoint& globalPos) const;
    // The selected entry's label in screen coordinates; empty without a selected entry.
    QRect SelectedLabelScreenRect() const;

    // --- history ---
    // Every value change of the current document is one step here; opening another file
    // clears it. Undo and Redo do nothing while an open, an import or a popup runs.
    QUndoStack* UndoStack() const { return m_undoStack; }
    void Undo();
    void Redo();
    // Opens the first local file of a drop as if its path were put in the file field;
    // false when the data names none.
    bool OpenDropped(const QMimeData* data);
    // Copies the selected entry's label to the clipboard.
    void CopySelectedLabel();

    // --- state ---
    TBCFGFile* CurrentDoc() const { return m_currentDoc.get(); }
    // The full path the current document was opened from: Save writes there, whatever the
    // file field holds after a failed or declined open.
    const QString& DocumentFileName() const { return m_documentFileName; }
    bool EditorOpen() const { return m_editorOpen; }
    int CaptionOffset() const { return m_captionOffset; }
    double DpiScale() const { return m_dpiScale; }
    // An open or an import is running; user input to this window is swallowed meanwhile.
    bool Busy() const { return m_busy; }
    const ImportResult& LastImport() const { return m_lastImport; }
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

    // --- comparing and previewing an import (window-wide shortcuts, on no menu yet) ---
    // Chooses a file and shows how it differs from the current document.
    void CompareWithFile();
    // Chooses a file and imports the changes the user keeps ticked in the preview.
    void ImportWithPreview();
    QAction* CompareWithFileAction;   // Ctrl+D
    QAction* ImportWithPreviewAction; // Ctrl+Shift+I

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum Anchor { Left = 1, Top = 2, Right = 4, Bottom = 8 };
    struct Placement {
        QWidget* widget;
        QRect design;
        int anchors;
    };
    class BusyScope;

    void place(QWidget* widget, const QRect& design, int anchors);
    // Applies the saved outer frame, or the design size centred when it lies off every screen.
    void restorePosition();
    void buildTabOrder();
    // Shows doc's entries in the tree; false, with an empty tree, when memory runs out.
    bool showEntries(TBCFGFile& doc);
    // Saves the current document; false (after the error box) when it failed.
    bool saveTo(const QString& fileName);
    void relabelAll();
    // Makes what happened since capture one undo step (nothing when nothing changed) and
    // shows it. wheelRecord: the record a wheel roll changed, so that a burst folds into one.
    void recordChange(const ChangeCapture& capture, const QString& what, int wheelRecord = -1);
    void showChanges();
    void installShortcuts();
    // The tree's tool tips: each entry's details, taken when the tip is asked for.
    void installDetails();
    QTreeWidgetItem* selectedEntry() const;
    // The selected entry when the user can see it (every enclosing section expanded).
    QTreeWidgetItem* shownSelectedEntry() const;
    static QTreeWidgetItem* outermostCollapsedAncestor(QTreeWidgetItem* item);
    void selectShownSection();
    void setBusy(bool busy);
    bool isUserInput(const QEvent* event) const;
    void createCompareActions();
    // The other file of a compare or preview, chosen and loaded as Import does; nullptr
    // when cancelled or when it cannot be read (after the error box).
    // caption: the file dialog's title. Its messages name the file.
    std::unique_ptr<TBCFGFile> chooseOtherFile(QString& fileName, const QString& caption);
    // Chooses and loads the other file and lists how it differs from the current document;
    // false (after any error box) when cancelled or failed. other holds the rows' records.
    bool differencesWithChosenFile(QString& fileName, const QString& caption,
                                   std::unique_ptr<TBCFGFile>& other,
                                   std::vector<Difference>& rows);
    // Selects the record's entry in the tree, expanding the sections around it.
    void selectRecordEntry(const TBcfgRecAll* record);
    // The preview's one change of the document: takes the chosen pairs over, relabels
    // and repaints.
    void applyPreviewImport(const std::vector<Import::Pair>& pairs, const QString& fileName);

    std::unique_ptr<TBCFGFile> m_currentDoc;
    // Declared after the document, so it goes first: its steps name the document's records.
    std::unique_ptr<ChangeHistory> m_history;
    QUndoStack* m_undoStack = nullptr;
    QString m_documentFileName;
    bool m_editorOpen = false;
    int m_captionOffset = 0;
    double m_dpiScale = 1.0;
    bool m_busy = false;
    bool m_restorePending = false; // the restore waits for the window to be framed
    bool m_restoreScheduled = false;
    EditorHost* m_editorHost = nullptr;
    QDialog* m_help = nullptr;
    Settings m_settings;
    QString m_saveDialogFileName;
    ImportResult m_lastImport;
    std::function<void()> m_importStepObserver;
    QList<Placement> m_placements;
    FindBar* m_findBar = nullptr;
};
