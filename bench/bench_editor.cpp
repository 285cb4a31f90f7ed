// Opens a file of 100,000 records in the main window and times what the user waits for: the
// window shown with its tree filled, then Expand all and Collapse all. Exit status 0 when
// every target holds, 1 otherwise. Without a display it draws off screen.

#include "AppGlobals.h"
#include "BenchFile.h"
#include "DesignFont.h"
#include "Dialogs.h"
#include "MainTree.h"
#include "TBCFGFile.h"
#include "TForm1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeWidgetItemIterator>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

constexpr int RecordCount = 100000;
constexpr int Rounds = 3;
constexpr double OpenLimit = 0.5;
constexpr double ExpandLimit = 0.3;

double seconds(const QElapsedTimer& timer)
{
    return double(timer.nsecsElapsed()) / 1e9;
}

// Until the window is on screen and every pending paint is done; false after ten seconds.
bool settle(QWidget& window)
{
    QElapsedTimer waited;
    waited.start();
    while (!window.windowHandle() || !window.windowHandle()->isExposed()) {
        if (waited.elapsed() > 10000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    }
    QCoreApplication::processEvents();
    return true;
}

int checks = 0;
int misses = 0;

void line(const char* what, double best, double first, double limit, bool strictlyBelow)
{
    const bool pass = strictlyBelow ? best < limit : best <= limit;
    ++checks;
    if (!pass)
        ++misses;
    std::printf("%-26s %8.1f ms   (first round %8.1f ms)   limit %s %5.0f ms   %s\n", what,
                best * 1e3, first * 1e3, strictlyBelow ? "<" : "<=", limit * 1e3,
                pass ? "PASS" : "FAIL");
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setApplicationName(QStringLiteral("parvane-bench-editor"));
    QApplication app(argc, argv);
    UseDesignFont();
    SetApplicationTitle(DefaultApplicationTitle());
    // A box would wait for an answer; test mode records it instead.
    Dialogs::SetTestMode(true);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.bcfg"));
    const qint64 size = dir.isValid() ? BenchFile::WriteMixed(path, RecordCount, 0) : -1;
    if (size < 0) {
        std::fprintf(stderr, "cannot write the benchmark file\n");
        return 1;
    }
    std::printf("file: %d records, %lld bytes; platform %s; best of %d rounds\n", RecordCount,
                qlonglong(size), qPrintable(QGuiApplication::platformName()), Rounds);

    double open = 1e300, expand = 1e300, collapse = 1e300;
    double firstOpen = 0, firstExpand = 0, firstCollapse = 0;
    for (int round = 0; round < Rounds; ++round) {
        auto form = std::make_unique<TForm1>();
        QElapsedTimer timer;
        timer.start();
        form->FormCreate({path});
        form->show();
        const bool shown = settle(*form);
        const double opened = seconds(timer);

        const QList<Dialogs::Shown> boxes = Dialogs::TakeShown();
        if (!shown || !form->CurrentDoc() || form->CurrentDoc()->Count() != RecordCount ||
            form->TreeView1->topLevelItemCount() == 0 || !boxes.isEmpty()) {
            std::fprintf(stderr, "the file did not open whole in the window%s%s\n",
                         boxes.isEmpty() ? "" : ": ",
                         boxes.isEmpty() ? "" : qPrintable(boxes.first().text));
            return 1;
        }

        timer.restart();
        form->Button5Click();
        QCoreApplication::processEvents();
        const double expanded = seconds(timer);
        if (round == 0) {
            int entries = 0, closed = 0;
            for (QTreeWidgetItemIterator it(form->TreeView1); *it; ++it) {
                ++entries;
                closed += (*it)->childCount() > 0 && !(*it)->isExpanded();
            }
            std::printf("tree: %d entries\n", entries);
            if (closed > 0) {
                std::fprintf(stderr, "Expand all left %d sections closed\n", closed);
                return 1;
            }
        }

        timer.restart();
        form->Button6Click();
        QCoreApplication::processEvents();
        const double collapsed = seconds(timer);

        if (round == 0) {
            firstOpen = opened;
            firstExpand = expanded;
            firstCollapse = collapsed;
        }
        open = std::min(open, opened);
        expand = std::min(expand, expanded);
        collapse = std::min(collapse, collapsed);
        form->hide();
    }

    line("open until shown, filled", open, firstOpen, OpenLimit, false);
    line("expand all", expand, firstExpand, ExpandLimit, true);
    line("collapse all", collapse, firstCollapse, ExpandLimit, true);
    std::printf("bench-editor: %d of %d targets met: %s\n", checks - misses, checks,
                misses == 0 ? "PASS" : "FAIL");
    return misses == 0 ? 0 : 1;
}
