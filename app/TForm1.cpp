#include "TForm1.h"

#include "AppGlobals.h"
#include "BcfgError.h"
#include "ChangeCommand.h"
#include "ChangeHistory.h"
#include "CodePage.h"
#include "CompareWindow.h"
#include "Dialogs.h"
#include "DifferenceView.h"
#include "EditorHost.h"
#include "EntryMenu.h"
#include "FileOpenEdit.h"
#include "FindBar.h"
#include "ImportPreviewWindow.h"
#include "MainTree.h"
#include "Platform.h"
#include "PopupPosition.h"
#include "RecordDetails.h"
#include "RecordWheel.h"
#include "TBCFGFile.h"
#include "TreeOrder.h"
#include "ValueRules.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <QUndoStack>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>
#include <cfenv>
#include <cmath>

namespace {

// The frame around the client area at the design size (outer 496 x 518, client 488 x 491);
// sizes given for the outer window are set on the client less this.
const QSize DesignFrame(8, 27);

// A label that sizes itself to its text: wider than designed when the font standing in
// for Tahoma is wider.
QRect autoSized(QLabel* label, const QRect& design)
{
    QRect rect = design;
    rect.setWidth(qMax(design.width(), label->sizeHint().width()));
    return rect;
}

QFont windowFont(bool bold)
{
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    font.setBold(bold);
    return font;
}

// The unknown-block message of a load, in a box with an OK button.
class BoxReporter : public LoadReporter
{
public:
    explicit BoxReporter(QWidget* parent) : m_parent(parent) {}
    void loadMessage(const QString& text) override { Dialogs::Message(m_parent, text); }

private:
    QWidget* m_parent;
};

} // namespace

class TForm1::BusyScope
{
public:
    explicit BusyScope(TForm1* form) : m_form(form) { m_form->setBusy(true); }
    ~BusyScope() { m_form->setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    TForm1* m_form;
};

TForm1::TForm1(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Parvane"));
    setFont(windowFont(false));
    resize(DesignClientSize());
    setMinimumSize(MinimumOuterSize() - DesignFrame);

    const auto label = [this](const char* name, const QString& text, bool bold) {
        auto* widget = new QLabel(text, this);
        widget->setObjectName(QLatin1String(name));
        widget->setFont(windowFont(bold));
        return widget;
    };
    const auto button = [this](const char* name, const QString& text, bool bold,
                               const QString& hint) {
        auto* widget = new QPushButton(text, this);
        widget->setObjectName(QLatin1String(name));
        widget->setFont(windowFont(bold));
        widget->setToolTip(hint);
        return widget;
    };

    Label1 = label("Label1", QStringLiteral("BCFG File:"), true);
    LMDFileOpenEdit1 = new FileOpenEdit(this);
    LMDFileOpenEdit1->setObjectName(QStringLiteral("LMDFileOpenEdit1"));
    LMDFileOpenEdit1->setToolTip(QStringLiteral("Какой файл будем редактировать?"));
    Label2 = label("Label2", QStringLiteral("* Changed *"), true);
    Label2->setToolTip(QStringLiteral("Ух ты! Вы изменили файл!"));
    QPalette marker = Label2->palette();
    marker.setColor(QPalette::WindowText, QColor(128, 0, 0));
    Label2->setPalette(marker);
    Label2->hide();
    TreeView1 = new MainTree(&m_editorOpen, this);
    TreeView1->setObjectName(QStringLiteral("TreeView1"));
    Button1 = button("Button1", QStringLiteral("Save"), true, QStringLiteral("Сохранить файл"));
    Button1->setEnabled(false);
    Button2 = button("Button2", QStringLiteral("Save As"), true,
                     QStringLiteral("Сохранить файл под другим именем"));
    Button2->setEnabled(false);
    Button4 = button("Button4", QStringLiteral("Import"), true,
                     QStringLiteral("Импортировать аналогичные параметры из другого файла"));
    Button4->setEnabled(false);
    Label5 = label("Label5", QStringLiteral("Parvane"), true);
    Label5->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label3 = label("Label3", QStringLiteral("v. 1.02"), true);
    Label3->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Button7 = button("Button7", QStringLiteral("Help"), false, QStringLiteral("Подсказка"));
    Button3 = button("Button3", QStringLiteral("Exit"), true, QStringLiteral("Выход"));
    Label7 = label("Label7", QStringLiteral("Label7"), false);
    Label7->hide();
    Button5 =
        button("Button5", QStringLiteral("+"), false, QStringLiteral("Развернуть все секции"));
    Button6 = button("Button6", QStringLiteral("-"), false, QStringLiteral("Свернуть все секции"));

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setAutoFillBackground(true);
    Label6 = new QLabel(QStringLiteral("Import, please wait..."), Panel1);
    Label6->setObjectName(QStringLiteral("Label6"));
    Label6->setFont(windowFont(true));
    QPalette navy = Label6->palette();
    navy.setColor(QPalette::WindowText, QColor(0, 0, 128));
    Label6->setPalette(navy);
    Label6->adjustSize();
    Label6->move(48, 16);
    ProgressBar1 = new QProgressBar(Panel1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setGeometry(8, 40, 217, 22);
    Panel1->hide();

    place(Label1, autoSized(Label1, {16, 12, 59, 16}), Left | Top);
    place(LMDFileOpenEdit1, {112, 8, 261, 22}, Left | Top | Right);
    place(Label2, autoSized(Label2, {391, 12, 80, 16}), Top | Right);
    place(TreeView1, {8, 40, 365, 436}, Left | Top | Right | Bottom);
    place(Button1, {388, 48, 89, 33}, Top | Right);
    place(Button2, {388, 96, 89, 33}, Top | Right);
    place(Button4, {388, 144, 89, 33}, Top | Right);
    place(Label5, {383, 216, 94, 16}, Top | Right);
    place(Label3, {383, 240, 94, 16}, Top | Right);
    place(Button7, {388, 304, 89, 33}, Top | Right);
    place(Button3, {388, 353, 89, 33}, Top | Right);
    place(Label7, autoSized(Label7, {384, 408, 37, 16}), Left | Top);
    place(Button5, {388, 455, 41, 21}, Right | Bottom);
    place(Button6, {436, 455, 41, 21}, Right | Bottom);
    place(Panel1, {80, 208, 233, 73}, Left | Top);
    Panel1->raise();
    buildTabOrder();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(1);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    Timer1->start();

    SavePosition = new QAction(QStringLiteral("Save position"), this);
    SavePosition->setObjectName(QStringLiteral("SavePosition"));
    connect(SavePosition, &QAction::triggered, this, &TForm1::SavePositionExecute);
    addAction(SavePosition);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(LMDFileOpenEdit1, &FileOpenEdit::textChanged, this, &TForm1::LMDFileOpenEdit1Change);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TForm1::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm1::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm1::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &TForm1::Button7Click);
    connect(TreeView1, &MainTree::doubleClickedAt, this, &TForm1::TreeView1DblClick);
    connect(TreeView1, &MainTree::enterPressed, this,
            [this] { TreeView1KeyPress(Qt::Key_Return); });
    TreeView1->viewport()->installEventFilter(this);
    connect(TreeView1, &QTreeWidget::itemCollapsed, this, [this] { selectShownSection(); });

    m_undoStack = new QUndoStack(this);
    m_findBar = new FindBar(TreeView1);
    installShortcuts();
    installDetails();
    setAcceptDrops(true);
    // The field takes a dropped file as the window does, not as text typed into it.
    LMDFileOpenEdit1->lineEdit()->installEventFilter(this);
}

void TForm1::installShortcuts()
{
    // Shortcuts, not actions: the window's own actions make up its context menu.
    const auto shortcut = [this](const QKeySequence& keys, QWidget* scope, auto handler) {
        auto* each = new QShortcut(keys, scope);
        each->setContext(scope == this ? Qt::WindowShortcut : Qt::WidgetShortcut);
        connect(each, &QShortcut::activated, this, handler);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this, &TForm1::Undo);
    shortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), this, &TForm1::Redo);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), this, &TForm1::Redo);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_S), this, [this] {
        if (Button1->isEnabled())
            Button1Click();
    });
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_C), TreeView1, &TForm1::CopySelectedLabel);
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this, &TForm1::ShowFindBar);
    shortcut(QKeySequence(Qt::Key_F4), this, [this] { SelectNextChanged(true); });
    shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F4), this, [this] { SelectNextChanged(false); });
    createCompareActions();
}

void TForm1::installDetails()
{
    TreeView1->SetDetails([this](const QTreeWidgetItem* item) {
        if (const TBcfgRecAll* record = MainTree::RecordOf(item))
            return RecordDetails::Of(*record);
        return MainTree::IsUnknownBlock(item) && m_currentDoc ? RecordDetails::OfStop(*m_currentDoc)
                                                              : QString();
    });
}

TForm1::~TForm1()
{
    // The entries point into the document.
    TreeView1->clear();
}

void TForm1::place(QWidget* widget, const QRect& design, int anchors)
{
    widget->setGeometry(design);
    m_placements.append({widget, design, anchors});
}

void TForm1::buildTabOrder()
{
    const QList<QWidget*> order{LMDFileOpenEdit1, TreeView1, Button1, Button2, Button3,
                                Button4,          Button5,   Button6, Button7};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

QString TForm1::CommandLineFileName(const QString& argument)
{
    return argument.contains(QLatin1Char('.')) ? argument : argument + QStringLiteral(".bcfg");
}

QSize TForm1::DpiScaledSize(const QSize& outer, int dpi)
{
    if (dpi <= 96)
        return outer;
    const double scale = dpi / 96.0;
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const QSize scaled(int(std::nearbyint(outer.width() * scale)),
                       int(std::nearbyint(outer.height() * scale)));
    std::fesetround(previous);
    return scaled;
}

void TForm1::FormCreate(const QStringList& arguments)
{
    m_editorOpen = false;
    // Only shown in the hidden diagnostic label: placement maps tree coordinates to the
    // screen with the platform's own mapping, which knows the real frame.
    m_captionOffset = Platform::CaptionButtonHeight(*this) + 6;
    Label7->setText(QString::number(m_captionOffset));

    const int dpi = qRound(screen()->logicalDotsPerInchX());
    m_dpiScale = dpi / 96.0;
    const QSize outer = DpiScaledSize(DesignOuterSize(), dpi);
    resize(outer - DesignFrame);
    const QRect desktop = screen()->availableGeometry();
    move(desktop.center() - QPoint(outer.width() / 2, outer.height() / 2));

    if (!arguments.isEmpty())
        LMDFileOpenEdit1->setText(CommandLineFileName(arguments.first()));
}

void TForm1::LMDFileOpenEdit1Change()
{
    if (m_busy)
        return;
    BusyScope busy(this);
    const QString fileName = LMDFileOpenEdit1->text();
    const bool unsaved = m_currentDoc && m_currentDoc->Modified;
    std::unique_ptr<TBCFGFile> doc;
    BoxReporter reporter(this);
    if (!unsaved) {
        TreeView1->clear();
        // The emptied tree is drawn before a long load.
        QCoreApplication::processEvents();
        try {
            doc = TBCFGFile::Load(fileName, TreeView1, &reporter);
        } catch (const BcfgError& error) {
            // Entries a load appended before it failed point into its released records: they go
            // before the box lets the tree paint. The previous document stays current; its
            // entries come back so that what Save would write is visible.
            TreeView1->clear();
            Dialogs::Error(this, error.text());
            if (m_currentDoc)
                showEntries(*m_currentDoc);
            return;
        }
    } else {
        // Unsaved changes: the tree keeps showing them until the user has decided.
        try {
            doc = TBCFGFile::Load(fileName, nullptr, nullptr);
        } catch (const BcfgError& error) {
            Dialogs::Error(this, error.text());
            return;
        }
        const Dialogs::Answer answer = Dialogs::Confirm(
            this, QStringLiteral("Confirm"), QStringLiteral("Save file before opening another?"));
        if (answer == Dialogs::Answer::Cancel)
            return;
        if (answer == Dialogs::Answer::Yes) {
            if (!saveTo(m_documentFileName)) {
                FormPaint();
                return;
            }
            // The file to open may be the one just saved: read what is on disk now.
            try {
                doc = TBCFGFile::Load(fileName, nullptr, nullptr);
            } catch (const BcfgError& error) {
                Dialogs::Error(this, error.text());
                FormPaint();
                return;
            }
        }
        doc->ShowInTree = true;
        if (!showEntries(*doc)) {
            Dialogs::Error(this, QStringLiteral("Out of memory"));
            showEntries(*m_currentDoc);
            return;
        }
        if (!doc->FullyLoaded())
            reporter.loadMessage(doc->StopMessage());
    }
    // The steps name the old document's records.
    m_undoStack->clear();
    m_history = std::make_unique<ChangeHistory>(*doc);
    m_currentDoc = std::move(doc);
    m_documentFileName = QFileInfo(fileName).absoluteFilePath();
    Button2->setEnabled(true);
    Button4->setEnabled(true);
    Label2->setVisible(false);
    FormPaint();
}

bool TForm1::showEntries(TBCFGFile& doc)
{
    TreeView1->clear();
    try {
        doc.BuildTree(*TreeView1);
        return true;
    } catch (const std::bad_alloc&) {
        TreeView1->clear();
        return false;
    }
}

bool TForm1::saveTo(const QString& fileName)
{
    try {
        m_currentDoc->Save(fileName);
    } catch (const BcfgError& error) {
        Dialogs::Error(this, error.text());
        return false;
    }
    if (m_history)
        m_history->Saved();
    m_undoStack->setClean();
    return true;
}

void TForm1::Button1Click()
{
    if (!m_currentDoc || m_busy)
        return;
    saveTo(m_documentFileName);
    FormPaint();
}

void TForm1::Button2Click()
{
    if (!m_currentDoc || m_busy)
        return;
    QString fileName = Dialogs::SaveFileName(this, m_saveDialogFileName);
    if (fileName.isEmpty())
        return;
    if (!fileName.contains(QLatin1Char('.'))) {
        fileName += QStringLiteral(".bcfg");
        m_saveDialogFileName = fileName;
        // The dialog confirmed the name without the extension; this is another file.
        if (QFileInfo::exists(fileName) &&
            Dialogs::Confirm(this, QStringLiteral("Confirm Save As"),
                             QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                 .arg(QFileInfo(fileName).fileName())) != Dialogs::Answer::Yes)
            return;
    }
    m_saveDialogFileName = fileName;
    saveTo(fileName);
    FormPaint();
}

void TForm1::Button3Click()
{
    close();
}

void TForm1::Button5Click()
{
    TreeView1->expandAll();
}

void TForm1::Button6Click()
{
    TreeView1->collapseAll();
    selectShownSection();
}

void TForm1::Button7Click()
{
    if (m_help && !m_busy)
        m_help->exec();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (m_busy) {
        event->ignore();
        return;
    }
    if (m_currentDoc && m_currentDoc->Modified) {
        const Dialogs::Answer answer = Dialogs::Confirm(this, QStringLiteral("Confirm"),
                                                        QStringLiteral("Save file before exit?"));
        // Only No discards; dismissing the question keeps the window and the changes.
        if (answer == Dialogs::Answer::Cancel ||
            (answer == Dialogs::Answer::Yes && !saveTo(m_documentFileName))) {
            event->ignore();
            FormPaint();
            return;
        }
    }
    event->accept();
}

void TForm1::FormPaint()
{
    if (m_currentDoc) {
        Label2->setVisible(m_currentDoc->Modified);
        Button1->setEnabled(m_currentDoc->Modified);
    }
    TreeView1->viewport()->update();
}

void TForm1::paintEvent(QPaintEvent* event)
{
    if (m_restorePending && !m_restoreScheduled) {
        m_restoreScheduled = true;
        QTimer::singleShot(0, this, &TForm1::restorePosition);
    }
    if (m_currentDoc) {
        Label2->setVisible(m_currentDoc->Modified);
        Button1->setEnabled(m_currentDoc->Modified);
    }
    QWidget::paintEvent(event);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int dx = width() - DesignClientSize().width();
    const int dy = height() - DesignClientSize().height();
    for (const Placement& p : std::as_const(m_placements)) {
        QRect r = p.design;
        if (p.anchors & Right) {
            if (p.anchors & Left)
                r.setWidth(r.width() + dx);
            else
                r.moveLeft(r.left() + dx);
        }
        if (p.anchors & Bottom) {
            if (p.anchors & Top)
                r.setHeight(r.height() + dy);
            else
                r.moveTop(r.top() + dy);
        }
        p.widget->setGeometry(r);
    }
}

QTreeWidgetItem* TForm1::selectedEntry() const
{
    const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QTreeWidgetItem* TForm1::shownSelectedEntry() const
{
    QTreeWidgetItem* item = selectedEntry();
    return item && !outermostCollapsedAncestor(item) ? item : nullptr;
}

QTreeWidgetItem* TForm1::outermostCollapsedAncestor(QTreeWidgetItem* item)
{
    QTreeWidgetItem* found = nullptr;
    for (QTreeWidgetItem* parent = item ? item->parent() : nullptr; parent;
         parent = parent->parent())
        if (!parent->isExpanded())
            found = parent;
    return found;
}

void TForm1::selectShownSection()
{
    // A selection hidden in a collapsed section would be edited unseen: the section takes it.
    if (QTreeWidgetItem* section = outermostCollapsedAncestor(selectedEntry()))
        TreeView1->setCurrentItem(section);
}

void TForm1::TreeView1Click()
{
    const TBcfgRecAll* record = MainTree::RecordOf(selectedEntry());
    if (!record)
        return;
    const QString min =
        record->TypeCode == 1 ? QString::number(record->Min) : QString::number(record->MinSigned());
    Label7->setText(QStringLiteral("%1 %2 %3").arg(min).arg(record->Max).arg(record->Occurrence));
}

QRect TForm1::SelectedLabelScreenRect() const
{
    QTreeWidgetItem* item = shownSelectedEntry();
    if (!item)
        return {};
    const QRect label = TreeView1->LabelRect(item);
    if (label.isEmpty())
        return {};
    return label.translated(TreeView1->viewport()->mapToGlobal(QPoint(0, 0)));
}

bool TForm1::CursorOnSelectedEntry() const
{
    return CursorOnSelectedEntry(QCursor::pos());
}

bool TForm1::CursorOnSelectedEntry(const QPoint& globalPos) const
{
    const QRect label = SelectedLabelScreenRect();
    return !label.isEmpty() && label.contains(globalPos);
}

void TForm1::TreeView1DblClick(const QPoint& globalPos)
{
    if (CursorOnSelectedEntry(globalPos))
        StartEdit();
}

void TForm1::TreeView1KeyPress(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        StartEdit();
}

void TForm1::StartEdit()
{
    if (m_busy || m_editorOpen || !m_editorHost)
        return;
    QTreeWidgetItem* item = shownSelectedEntry();
    TBcfgRecAll* record = MainTree::RecordOf(item);
    if (!record || record->TypeCode == 9)
        return;

    const QRect label = SelectedLabelScreenRect();
    const int code = int(record->TypeCode);
    if (code == 5 || code == 11 || code == 13) {
        // The choice list and the calendar open where the value begins.
        PopupLeft = label.left() + TreeView1->fontMetrics().horizontalAdvance(
                                       CodePage::ToUnicode(record->LabelPrefix()));
    } else {
        PopupLeft = label.left() + 8;
    }
    PopupTop = label.top() - 1;

    ChangeCapture capture;
    try {
        capture = m_history->Begin(*record);
    } catch (const BcfgError& error) {
        Dialogs::Error(this, error.text());
        return;
    }
    m_editorOpen = true;
    TreeView1->viewport()->update();
    try {
        record->Edit(*m_editorHost);
        m_editorOpen = false;
    } catch (const BcfgError& error) {
        m_editorOpen = false;
        TreeView1->viewport()->update();
        Dialogs::Error(this, error.text());
    }
    recordChange(capture, CodePage::ToUnicode(record->NameText()));
    MainTree::Relabel(item);
    FormPaint();
}

void TForm1::ShowFindBar()
{
    if (!m_busy && !m_editorOpen)
        m_findBar->Open();
}

bool TForm1::SelectNextChanged(bool forward)
{
    if (m_busy || m_editorOpen)
        return false;
    QTreeWidgetItem* hit = TreeOrder::Next(
        TreeView1, selectedEntry(), forward, false, [](const QTreeWidgetItem* item) {
            const TBcfgRecAll* record = MainTree::RecordOf(item);
            return record && record->TypeCode != 9 && (record->Modified || record->Imported);
        });
    if (hit)
        TreeOrder::Reveal(TreeView1, hit);
    return hit != nullptr;
}

bool TForm1::FormMouseWheel(int delta, const QPoint& globalPos)
{
    if (m_busy || m_editorOpen)
        return false;
    const int steps = ValueRules::WheelSteps(delta);
    if (!TreeView1->hasFocus() || !CursorOnSelectedEntry(globalPos))
        return false;
    QTreeWidgetItem* item = shownSelectedEntry();
    TBcfgRecAll* record = MainTree::RecordOf(item);
    if (!record)
        return false;

    ChangeCapture capture;
    try {
        capture = m_history->Begin(*record);
        if (!RecordWheel::Step(*record, steps))
            return false;
    } catch (const BcfgError& error) {
        // Nothing changes; the wheel must not scroll the tree away from the entry either.
        Dialogs::Error(this, error.text());
        return true;
    }
    recordChange(capture, CodePage::ToUnicode(record->NameText()), record->Index);
    MainTree::Relabel(item);
    FormPaint();
    return true;
}

void TForm1::relabelAll()
{
    for (QTreeWidgetItemIterator it(TreeView1); *it; ++it)
        MainTree::Relabel(*it);
}

void TForm1::Button4Click()
{
    if (!m_currentDoc || m_busy)
        return;
    QString fileName = Dialogs::OpenFileName(this);
    if (fileName.isEmpty())
        return;
    if (!fileName.contains(QLatin1Char('.')))
        fileName += QStringLiteral(".bcfg");

    m_lastImport = ImportResult{};
    m_lastImport.fileName = fileName;
    BusyScope busy(this);
    ProgressBar1->setValue(ProgressBar1->minimum());
    Panel1->show();
    Button2->setEnabled(false);
    Button4->setEnabled(false);
    QCoreApplication::processEvents();

    const auto finish = [this] {
        Panel1->hide();
        Button2->setEnabled(true);
        Button4->setEnabled(true);
        FormPaint();
    };

    std::unique_ptr<TBCFGFile> source;
    BoxReporter reporter(this);
    try {
        source = TBCFGFile::Load(fileName, nullptr, &reporter);
    } catch (const BcfgError& error) {
        Dialogs::Error(this, error.text());
        finish();
        return;
    }
    m_lastImport.loaded = true;
    m_lastImport.records = source->Count();
    m_lastImport.progressMaximum = source->Count() - 1;
    ProgressBar1->setRange(0, m_lastImport.progressMaximum);
    ProgressBar1->setValue(0);

    m_lastImport.translated = Import::TranslateLevelNames(LMDFileOpenEdit1->text(), fileName);
    ChangeCapture capture;
    try {
        capture = m_history->BeginAll();
        m_lastImport.merge =
            Import::MergeDocuments(*m_currentDoc, *source, m_lastImport.translated, [this] {
                ++m_lastImport.steps;
                ProgressBar1->setValue(qMin(ProgressBar1->value() + 1, ProgressBar1->maximum()));
                QCoreApplication::processEvents();
                if (m_importStepObserver)
                    m_importStepObserver();
            });
    } catch (const BcfgError& error) {
        Dialogs::Error(this, error.text());
    }
    source.reset();
    recordChange(capture, QStringLiteral("Import from %1").arg(QFileInfo(fileName).fileName()));
    relabelAll();
    finish();
}

void TForm1::recordChange(const ChangeCapture& capture, const QString& what, int wheelRecord)
{
    try {
        if (auto step = m_history->Finish(capture))
            m_undoStack->push(new ChangeCommand(
                *m_history, std::move(step), what, [this] { showChanges(); }, wheelRecord));
    } catch (const BcfgError& error) {
        // The change stays; only taking it back is lost.
        Dialogs::Error(this, error.text());
    }
}

void TForm1::showChanges()
{
    relabelAll();
    FormPaint();
}

void TForm1::Undo()
{
    if (!m_busy && !m_editorOpen)
        m_undoStack->undo();
}

void TForm1::Redo()
{
    if (!m_busy && !m_editorOpen)
        m_undoStack->redo();
}

void TForm1::CopySelectedLabel()
{
    if (const QTreeWidgetItem* item = selectedEntry())
        QGuiApplication::clipboard()->setText(item->text(0));
}

namespace {
QString droppedFile(const QMimeData* data)
{
    if (data && data->hasUrls())
        for (const QUrl& url : data->urls())
            if (url.isLocalFile())
                return url.toLocalFile();
    return {};
}
} // namespace

bool TForm1::OpenDropped(const QMimeData* data)
{
    const QString fileName = droppedFile(data);
    if (fileName.isEmpty() || m_busy)
        return false;
    LMDFileOpenEdit1->setText(fileName);
    return true;
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event)
{
    if (OpenDropped(event->mimeData()))
        event->acceptProposedAction();
}

void TForm1::Timer1Timer()
{
    Timer1->stop();
    if (!m_settings.readInteger)
        return;
    // Until the window is on screen the window manager has not framed it (a box shown during
    // start-up runs this timer even before the window is shown), and the saved outer frame
    // would be taken for the client area. The first paint comes once it is framed.
    if (!isVisible() || !windowHandle() || !windowHandle()->isExposed()) {
        m_restorePending = true;
        return;
    }
    restorePosition();
}

bool TForm1::PositionRestorePending() const
{
    return Timer1->isActive() || m_restorePending;
}

void TForm1::restorePosition()
{
    m_restoreScheduled = false;
    // The window manager may take the window off screen again while it frames it.
    if (!windowHandle() || !windowHandle()->isExposed())
        return;
    m_restorePending = false;
    const QString section = QStringLiteral("Position");
    const QRect outer = frameGeometry();
    const QSize frame = outer.size() - size();
    WindowPlacement::Saved saved;
    saved.top = m_settings.readInteger(section, QStringLiteral("Top"), outer.top());
    saved.left = m_settings.readInteger(section, QStringLiteral("Left"), outer.left());
    saved.height = m_settings.readInteger(section, QStringLiteral("Height"), outer.height());
    saved.width = m_settings.readInteger(section, QStringLiteral("Width"), outer.width());

    QList<QRect> screens;
    for (const QScreen* each : QGuiApplication::screens())
        screens.append(each->availableGeometry());
    const QSize minimum = MinimumOuterSize().expandedTo(minimumSize() + frame);
    QRect target;
    if (const auto restored = WindowPlacement::Restored(saved, minimum, screens)) {
        target = *restored;
    } else {
        // Off every screen: the design size, centred, as without a settings file.
        const QSize design = DpiScaledSize(DesignOuterSize(), qRound(m_dpiScale * 96));
        target = WindowPlacement::Centred(design, screen()->availableGeometry());
    }
    // move() places the outer frame; resize() sizes the client area inside it.
    move(target.topLeft());
    resize(target.size() - frame);
}

void TForm1::SavePositionExecute()
{
    if (!m_settings.writeInteger)
        return;
    const QString section = QStringLiteral("Position");
    const QRect outer = frameGeometry();
    try {
        m_settings.writeInteger(section, QStringLiteral("Top"), outer.top());
        m_settings.writeInteger(section, QStringLiteral("Left"), outer.left());
        m_settings.writeInteger(section, QStringLiteral("Height"), outer.height());
        m_settings.writeInteger(section, QStringLiteral("Width"), outer.width());
    } catch (const BcfgError& error) {
        Dialogs::Error(this, error.text());
    }
}

void TForm1::setBusy(bool busy)
{
    m_busy = busy;
    if (busy)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool TForm1::isUserInput(const QEvent* event) const
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    if (m_busy && isUserInput(event)) {
        // Input to this window waits for nothing: it is dropped until the open or import ends.
        const auto* widget = qobject_cast<const QWidget*>(watched);
        if (widget && widget->window() == this)
            return true;
    }
    if (watched == LMDFileOpenEdit1->lineEdit() &&
        (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
         event->type() == QEvent::Drop)) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!droppedFile(drop->mimeData()).isEmpty()) {
            drop->acceptProposedAction();
            if (event->type() == QEvent::Drop)
                OpenDropped(drop->mimeData());
            return true;
        }
    }
    if (watched == TreeView1->viewport()) {
        if (event->type() == QEvent::ContextMenu) {
            // On an entry, its own menu; anywhere else the window's (Save position).
            auto* menuEvent = static_cast<QContextMenuEvent*>(event);
            if (QTreeWidgetItem* item = TreeView1->itemAt(menuEvent->pos())) {
                TreeView1->setCurrentItem(item);
                EntryMenu menu(*this, item);
                menu.exec(menuEvent->globalPos());
                return true;
            }
        } else if (event->type() == QEvent::Wheel) {
            auto* wheel = static_cast<QWheelEvent*>(event);
            // Only the vertical wheel edits; a sideways roll scrolls as usual.
            if (wheel->angleDelta().y() != 0 &&
                FormMouseWheel(wheel->angleDelta().y(), wheel->globalPosition().toPoint())) {
                wheel->accept();
                return true;
            }
        } else if (event->type() == QEvent::MouseButtonRelease &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            TreeView1Click();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::createCompareActions()
{
    // On the tree, not on this window: the window's own context menu lists its actions.
    // The tree is always shown, so the shortcuts work wherever the focus is in the window.
    CompareWithFileAction = new QAction(QStringLiteral("Compare with file..."), this);
    CompareWithFileAction->setObjectName(QStringLiteral("CompareWithFile"));
    CompareWithFileAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    CompareWithFileAction->setShortcutContext(Qt::WindowShortcut);
    connect(CompareWithFileAction, &QAction::triggered, this, &TForm1::CompareWithFile);
    ImportWithPreviewAction = new QAction(QStringLiteral("Import with preview..."), this);
    ImportWithPreviewAction->setObjectName(QStringLiteral("ImportWithPreview"));
    ImportWithPreviewAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    ImportWithPreviewAction->setShortcutContext(Qt::WindowShortcut);
    connect(ImportWithPreviewAction, &QAction::triggered, this, &TForm1::ImportWithPreview);
    TreeView1->addAction(CompareWithFileAction);
    TreeView1->addAction(ImportWithPreviewAction);
}

std::unique_ptr<TBCFGFile> TForm1::chooseOtherFile(QString& fileName)
{
    fileName = Dialogs::OpenFileName(this);
    if (fileName.isEmpty())
        return nullptr;
    if (!fileName.contains(QLatin1Char('.')))
        fileName += QStringLiteral(".bcfg");
    BoxReporter reporter(this);
    try {
        return TBCFGFile::Load(fileName, nullptr, &reporter);
    } catch (const BcfgError& error) {
        Dialogs::Error(this, error.text());
        return nullptr;
    }
}

bool TForm1::differencesWithChosenFile(QString& fileName, std::unique_ptr<TBCFGFile>& other,
                                       std::vector<Difference>& rows)
{
    if (!m_currentDoc || m_busy || m_editorOpen)
        return false;
    other = chooseOtherFile(fileName);
    if (!other)
        return false;
    try {
        rows = ListDifferences(*m_currentDoc, *other,
                               Import::TranslateLevelNames(LMDFileOpenEdit1->text(), fileName));
    } catch (const BcfgError& error) {
        Dialogs::Error(this, error.text());
        return false;
    }
    return true;
}

void TForm1::CompareWithFile()
{
    QString fileName;
    std::unique_ptr<TBCFGFile> other;
    std::vector<Difference> rows;
    if (!differencesWithChosenFile(fileName, other, rows))
        return;
    CompareWindow window(fileName, std::move(rows), this);
    connect(&window, &CompareWindow::recordActivated, this, &TForm1::selectRecordEntry);
    window.exec();
}

void TForm1::ImportWithPreview()
{
    QString fileName;
    std::unique_ptr<TBCFGFile> source;
    std::vector<Difference> rows;
    if (!differencesWithChosenFile(fileName, source, rows))
        return;
    ImportPreviewWindow window(fileName, std::move(rows), this);
    connect(window.View(), &DifferenceView::recordActivated, this, &TForm1::selectRecordEntry);
    if (window.exec() == QDialog::Accepted)
        applyPreviewImport(window.ChosenPairs(), fileName);
}

void TForm1::selectRecordEntry(const TBcfgRecAll* record)
{
    for (QTreeWidgetItemIterator it(TreeView1); *it; ++it) {
        if (MainTree::RecordOf(*it) != record)
            continue;
        for (QTreeWidgetItem* parent = (*it)->parent(); parent; parent = parent->parent())
            parent->setExpanded(true);
        TreeView1->setCurrentItem(*it);
        TreeView1->scrollToItem(*it);
        return;
    }
}

void TForm1::applyPreviewImport(const std::vector<Import::Pair>& pairs, const QString& fileName)
{
    ChangeCapture capture;
    try {
        capture = m_history->BeginAll();
        Import::MergeSelected(pairs);
    } catch (const BcfgError& error) {
        Dialogs::Error(this, error.text());
    }
    recordChange(capture, QStringLiteral("Import from %1").arg(QFileInfo(fileName).fileName()));
    relabelAll();
    FormPaint();
}
