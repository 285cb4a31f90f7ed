#include "TForm1.h"

#include "BusyInputFilter.h"
#include "CodePage.h"
#include "CompareWindow.h"
#include "Dialogs.h"
#include "DifferenceView.h"
#include "DiskChangeBar.h"
#include "EditorHost.h"
#include "EntryMenu.h"
#include "FileDrop.h"
#include "FileName.h"
#include "FileOpenEdit.h"
#include "FindBar.h"
#include "ImportPreviewWindow.h"
#include "MainTree.h"
#include "Platform.h"
#include "PopupPosition.h"
#include "RecordDetails.h"
#include "RecordWheel.h"
#include "SettingsTransfer.h"
#include "TBCFGFile.h"
#include "ValueRules.h"
#include "WindowPlacement.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QUndoStack>

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

// The bold of the window's font; everything else comes from the application's font.
QFont boldFont()
{
    QFont font;
    font.setBold(true);
    return font;
}

} // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent), m_layout(DesignClientSize())
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QStringLiteral("Parvane"));
    resize(DesignClientSize());
    setMinimumSize(MinimumOuterSize() - DesignFrame);
    buildControls();

    m_session = new DocumentSession(this, *TreeView1, this);
    m_busyFilter = new BusyInputFilter(this);
    m_position = new WindowPositionKeeper(this, MinimumOuterSize(), DesignOuterSize());
    connectSession();

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
    connect(TreeView1, &MainTree::leftReleased, this, &TForm1::TreeView1Click);
    connect(TreeView1, &MainTree::entryMenuRequested, this,
            [this](const QModelIndex&, const QPoint& at) { EntryMenu(*this).exec(at); });
    TreeView1->SetWheel([this](int delta, const QPoint& at) { return FormMouseWheel(delta, at); });

    m_findBar = new FindBar(TreeView1);
    m_diskBar = new DiskChangeBar(*m_session, TreeView1);
    createCommands();
    installDetails();
    setAcceptDrops(true);
    auto* drop = new FileDrop(this, [this](const QString& fileName) {
        if (Busy())
            return false;
        LMDFileOpenEdit1->setText(fileName);
        return true;
    });
    drop->Watch(this);
    // The field takes a dropped file as the window does, not as text typed into it.
    drop->Watch(LMDFileOpenEdit1->lineEdit());
}

void TForm1::buildControls()
{
    const auto label = [this](const char* name, const QString& text, bool bold) {
        auto* widget = new QLabel(text, this);
        widget->setObjectName(QLatin1String(name));
        if (bold)
            widget->setFont(boldFont());
        return widget;
    };
    const auto button = [this](const char* name, const QString& text, bool bold,
                               const QString& hint) {
        auto* widget = new QPushButton(text, this);
        widget->setObjectName(QLatin1String(name));
        if (bold)
            widget->setFont(boldFont());
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
    Label6->setFont(boldFont());
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

    m_layout.Place(Label1, autoSized(Label1, {16, 12, 59, 16}),
                   AnchorLayout::Left | AnchorLayout::Top);
    m_layout.Place(LMDFileOpenEdit1, {112, 8, 261, 22},
                   AnchorLayout::Left | AnchorLayout::Top | AnchorLayout::Right);
    m_layout.Place(Label2, autoSized(Label2, {391, 12, 80, 16}),
                   AnchorLayout::Top | AnchorLayout::Right);
    m_layout.Place(TreeView1, {8, 40, 365, 436},
                   AnchorLayout::Left | AnchorLayout::Top | AnchorLayout::Right |
                       AnchorLayout::Bottom);
    m_layout.Place(Button1, {388, 48, 89, 33}, AnchorLayout::Top | AnchorLayout::Right);
    m_layout.Place(Button2, {388, 96, 89, 33}, AnchorLayout::Top | AnchorLayout::Right);
    m_layout.Place(Button4, {388, 144, 89, 33}, AnchorLayout::Top | AnchorLayout::Right);
    m_layout.Place(Label5, {383, 216, 94, 16}, AnchorLayout::Top | AnchorLayout::Right);
    m_layout.Place(Label3, {383, 240, 94, 16}, AnchorLayout::Top | AnchorLayout::Right);
    m_layout.Place(Button7, {388, 304, 89, 33}, AnchorLayout::Top | AnchorLayout::Right);
    m_layout.Place(Button3, {388, 353, 89, 33}, AnchorLayout::Top | AnchorLayout::Right);
    m_layout.Place(Label7, autoSized(Label7, {384, 408, 37, 16}),
                   AnchorLayout::Left | AnchorLayout::Top);
    m_layout.Place(Button5, {388, 455, 41, 21}, AnchorLayout::Right | AnchorLayout::Bottom);
    m_layout.Place(Button6, {436, 455, 41, 21}, AnchorLayout::Right | AnchorLayout::Bottom);
    m_layout.Place(Panel1, {80, 208, 233, 73}, AnchorLayout::Left | AnchorLayout::Top);
    Panel1->raise();
    buildTabOrder();
}

void TForm1::connectSession()
{
    connect(m_session, &DocumentSession::busyChanged, m_busyFilter, &BusyInputFilter::SetBusy);
    connect(m_session, &DocumentSession::modifiedChanged, this, &TForm1::showModified);
    // The entries of the records that changed are drawn again, and nothing else.
    connect(m_session, &DocumentSession::recordsChanged, TreeView1->Entries(),
            &EntryModel::RecordsChanged);
    connect(m_session, &DocumentSession::documentReplaced, this, [this] {
        LMDFileOpenEdit1->setSettledText(LMDFileOpenEdit1->text());
        Button2->setEnabled(true);
        Button4->setEnabled(true);
        Label2->setVisible(false);
        showModified(m_session->Modified());
    });
}

void TForm1::installDetails()
{
    TreeView1->SetDetails([this](const QModelIndex& entry) {
        if (const TBcfgRecAll* record = MainTree::RecordOf(entry))
            return RecordDetails::Of(*record);
        return MainTree::IsUnknownBlock(entry) && CurrentDoc()
                   ? RecordDetails::OfStop(*CurrentDoc())
                   : QString();
    });
}

TForm1::~TForm1()
{
    // The commands' states follow nothing while the parts go.
    UndoStack()->disconnect(this);
    m_session->disconnect(this);
    TreeView1->disconnect(this);
    TreeView1->selectionModel()->disconnect(this);
    // The entries point into the document.
    TreeView1->ClearEntries();
}

void TForm1::buildTabOrder()
{
    const QList<QWidget*> order{LMDFileOpenEdit1, TreeView1, Button1, Button2, Button3,
                                Button4,          Button5,   Button6, Button7};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TForm1::FormCreate(const QStringList& arguments)
{
    m_editorOpen = false;
    // Only shown in the hidden diagnostic label: placement maps tree coordinates to the
    // screen with the platform's own mapping, which knows the real frame.
    m_captionOffset = Platform::CaptionButtonHeight(*this) + 6;
    Label7->setText(QString::number(m_captionOffset));

    const int dpi = qRound(screen()->logicalDotsPerInchX());
    const QSize outer = WindowPlacement::DpiScaled(DesignOuterSize(), dpi);
    m_position->SetDesignOuterSize(outer);
    resize(outer - DesignFrame);
    const QRect desktop = screen()->availableGeometry();
    move(desktop.center() - QPoint(outer.width() / 2, outer.height() / 2));

    if (!arguments.isEmpty())
        LMDFileOpenEdit1->setText(CommandLineFileName(arguments.first()));
}

void TForm1::LMDFileOpenEdit1Change()
{
    // A name that did not open, which the user is not typing (a drop, a browse choice, a
    // declined question): the field names the open file again.
    if (!m_session->Open(LMDFileOpenEdit1->text()) && !LMDFileOpenEdit1->lineEdit()->hasFocus())
        LMDFileOpenEdit1->Settle();
}

void TForm1::Button1Click()
{
    m_session->Save();
}

void TForm1::Button2Click()
{
    m_session->SaveAs();
}

void TForm1::Button3Click()
{
    close();
}

void TForm1::Button4Click()
{
    ImportProgress progress;
    progress.started = [this] {
        ProgressBar1->setValue(ProgressBar1->minimum());
        Panel1->show();
        Button2->setEnabled(false);
        Button4->setEnabled(false);
        QCoreApplication::processEvents();
    };
    progress.loaded = [this](int maximum) {
        ProgressBar1->setRange(0, maximum);
        ProgressBar1->setValue(0);
    };
    progress.step = [this] {
        ProgressBar1->setValue(qMin(ProgressBar1->value() + 1, ProgressBar1->maximum()));
        QCoreApplication::processEvents();
        if (m_importStepObserver)
            m_importStepObserver();
    };
    progress.finished = [this] {
        Panel1->hide();
        Button2->setEnabled(true);
        Button4->setEnabled(true);
    };
    m_session->Import(LMDFileOpenEdit1->text(), progress);
}

void TForm1::Button5Click()
{
    TreeView1->expandAll();
}

void TForm1::Button6Click()
{
    TreeView1->collapseAll();
    TreeView1->SelectShownSection();
}

void TForm1::Button7Click()
{
    if (m_help && !Busy())
        m_help->exec();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (Busy()) {
        event->ignore();
        return;
    }
    if (m_session->Modified()) {
        const Dialogs::Answer answer = Dialogs::Confirm(this, QStringLiteral("Confirm"),
                                                        QStringLiteral("Save file before exit?"));
        // Only No discards; dismissing the question keeps the window and the changes.
        if (answer == Dialogs::Answer::Cancel ||
            (answer == Dialogs::Answer::Yes && !m_session->Save())) {
            event->ignore();
            return;
        }
    }
    event->accept();
}

void TForm1::showModified(bool modified)
{
    if (CurrentDoc()) {
        Label2->setVisible(modified);
        Button1->setEnabled(modified);
    }
}

void TForm1::FormPaint()
{
    m_session->SyncModified();
    showModified(m_session->Modified());
    TreeView1->viewport()->update();
}

bool TForm1::event(QEvent* event)
{
    // The design's paint handler: a change made straight on the records, which the session
    // could not announce, shows at the next repaint.
    if (event->type() == QEvent::UpdateRequest)
        m_session->SyncModified();
    return QWidget::event(event);
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_layout.Apply(size());
}

void TForm1::TreeView1Click()
{
    const TBcfgRecAll* record = MainTree::RecordOf(TreeView1->SelectedEntry());
    if (!record)
        return;
    Label7->setText(
        QStringLiteral("%1 %2 %3").arg(record->Lowest()).arg(record->Max).arg(record->Occurrence));
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
    if (Busy() || m_editorOpen || !m_editorHost)
        return;
    TBcfgRecAll* record = MainTree::RecordOf(TreeView1->ShownSelectedEntry());
    if (!record || record->IsLevel())
        return;

    const QRect label = SelectedLabelScreenRect();
    if (record->PopupAtValue()) {
        // The choice list and the calendar open where the value begins.
        PopupLeft = label.left() + TreeView1->fontMetrics().horizontalAdvance(
                                       CodePage::ToUnicode(record->LabelPrefix()));
    } else {
        PopupLeft = label.left() + 8;
    }
    PopupTop = label.top() - 1;

    m_session->ChangeRecord(*record, [this, record] {
        // The tree paints in the popups' colour while one is open, and normally
        // again before any error box.
        setEditorOpen(true);
        const auto closed = qScopeGuard([this] { setEditorOpen(false); });
        record->Edit(*m_editorHost);
        return true;
    });
}

void TForm1::setEditorOpen(bool open)
{
    m_editorOpen = open;
    UpdateCommands();
    TreeView1->viewport()->update();
}

void TForm1::ShowFindBar()
{
    if (!Busy() && !m_editorOpen)
        m_findBar->Open();
}

bool TForm1::SelectNextChanged(bool forward)
{
    return !Busy() && !m_editorOpen && TreeView1->SelectNextChanged(forward);
}

bool TForm1::FormMouseWheel(int delta, const QPoint& globalPos)
{
    if (Busy() || m_editorOpen)
        return false;
    const int steps = ValueRules::WheelSteps(delta);
    if (!TreeView1->hasFocus() || !CursorOnSelectedEntry(globalPos))
        return false;
    TBcfgRecAll* record = MainTree::RecordOf(TreeView1->ShownSelectedEntry());
    // A refused step is consumed too: the wheel must not scroll the tree away from the entry.
    return record && m_session->ChangeRecord(
                         *record, [&] { return RecordWheel::Step(*record, steps); }, true) !=
                         DocumentSession::Change::NotApplied;
}

void TForm1::ExportSettings()
{
    if (!m_editorOpen)
        SettingsTransfer::Export(this, *m_session);
}

void TForm1::ApplySettings()
{
    if (!m_editorOpen)
        SettingsTransfer::Apply(this, *m_session);
}

void TForm1::CompareWithFile()
{
    OtherFile other;
    if (m_editorOpen ||
        !m_session->Differences(LMDFileOpenEdit1->text(), tr("Compare with file"), other))
        return;
    CompareWindow window(other.fileName, std::move(other.rows), this);
    connect(&window, &CompareWindow::recordActivated, TreeView1, &MainTree::RevealRecord);
    window.exec();
}

void TForm1::ImportWithPreview()
{
    OtherFile source;
    if (m_editorOpen ||
        !m_session->Differences(LMDFileOpenEdit1->text(), tr("Import with preview"), source))
        return;
    ImportPreviewWindow window(source.fileName, std::move(source.rows), std::move(source.unchanged),
                               false, this);
    connect(window.View(), &DifferenceView::recordActivated, TreeView1, &MainTree::RevealRecord);
    if (window.exec() == QDialog::Accepted)
        m_session->TakeOver(window.ChosenPairs(), source.fileName);
}

void TForm1::UpgradeFromOlderVersion()
{
    OtherFile source;
    if (m_editorOpen || !m_session->Upgrade(LMDFileOpenEdit1->text(), source))
        return;
    ImportPreviewWindow window(source.fileName, std::move(source.rows), std::move(source.unchanged),
                               source.base != nullptr, this);
    connect(window.View(), &DifferenceView::recordActivated, TreeView1, &MainTree::RevealRecord);
    if (window.exec() == QDialog::Accepted)
        m_session->TakeOver(window.ChosenPairs(), source.fileName);
}
