// Opens a file of 100,000 records in the main window and times what the user waits for: the
// window shown with its tree filled, then Expand all and Collapse all. Then a file of
// 1,000,000 records, each figure beside the same run's parvane-cli tree on the same file: the
// program started until its window is shown with the tree (over the start on the demo file)
// against the tree command's time, the window's peak memory against the command's, and 10,000
// wheel steps then 10,000 undos. Exit status 0 when every target holds, 1 otherwise. Without
// a display it draws off screen.
//
// Usage: parvane-bench-editor [CLI_PATH]   (default: the parvane-cli built beside it)

#include "AppGlobals.h"
#include "BenchFile.h"
#include "DesignFont.h"
#include "Dialogs.h"
#include "MainTree.h"
#include "TBCFGFile.h"
#include "TForm1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int RecordCount = 100000;
constexpr int Rounds = 3;
constexpr double OpenLimit = 0.5;
constexpr double ExpandLimit = 0.3;

constexpr int MillionRecords = 1000000;
constexpr int Steps = 10000;        // wheel steps, then as many undos
constexpr double StepLimit = 0.010; // on average
// A step loop that has run this long stops; its average still tells.
constexpr double StepBudget = 60;
constexpr double OverCliLimit = 2.0;     // extra start time over the demo file, times tree's
constexpr double MemoryFactor = 1.5;     // peak memory, times tree's ...
constexpr double MemoryAllowance = 40e6; // ... plus this

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

double now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// The children of the million-record case: the window (this program again) and the tree
// command, each alone in its process so that its peak memory is its own.
struct Child {
    bool ok = false;
    double seconds = 0; // started until it ended
    double peakBytes = 0;
    std::string output;
};

Child run(const std::string& program, const std::vector<std::string>& args)
{
    Child result;
    char outName[] = "/tmp/parvane-bench-editor-XXXXXX";
    const int out = mkstemp(outName);
    if (out < 0)
        return result;
    unlink(outName);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::fflush(stdout);
    const double start = now();
    const pid_t pid = fork();
    if (pid == 0) {
        const int none = open("/dev/null", O_RDWR);
        dup2(none, 0);
        dup2(out, 1);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    if (pid < 0) {
        close(out);
        return result;
    }
    rusage usage{};
    int status = 0;
    wait4(pid, &status, 0, &usage);
    result.seconds = now() - start;
    result.peakBytes = double(usage.ru_maxrss) * 1024.0; // kilobytes on Linux
    result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    lseek(out, 0, SEEK_SET);
    char buffer[4096];
    for (ssize_t n; (n = read(out, buffer, sizeof buffer)) > 0;)
        result.output.append(buffer, size_t(n));
    close(out);
    return result;
}

// The processor time this process used so far: on a busy machine the wall clock also
// counts the time other programs ran.
double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return double(t.tv_sec) + double(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// This process's peak memory so far.
double peakBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) * 1024.0;
}

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

void check(const char* what, double value, double limit, const char* unit, double scale,
           const char* beside)
{
    const bool pass = value <= limit;
    ++checks;
    if (!pass)
        ++misses;
    std::printf("%-30s %9.1f %s   limit <= %9.1f %s   %s   %s\n", what, value * scale, unit,
                limit * scale, unit, pass ? "PASS" : "FAIL", beside);
}

// The window on fileName, started at the monotonic time startedAt (the parent's, just before
// it started this process): prints how long until the window was shown with its tree and the
// peak memory then; with steps, then the average of as many wheel steps and as many undos.
int windowChild(QApplication& app, const QString& fileName, double startedAt, bool steps)
{
    Q_UNUSED(app)
    auto* form = new TForm1; // left to the end of the process: the report is what counts
    form->FormCreate({fileName});
    form->show();
    if (!settle(*form) || !form->CurrentDoc() || !Dialogs::TakeShown().isEmpty())
        return 1;
    std::printf("shown %.6f\npeak %.0f\n", now() - startedAt, peakBytes());
    if (!steps) {
        std::fflush(stdout);
        _exit(0); // what tearing down costs is no part of the figures
    }

    // Two integer values at the top level, rolled in turn: every roll is an undo step.
    std::vector<const TBcfgRecAll*> rolled;
    for (const auto& rec : form->CurrentDoc()->Records())
        if (rec->ParentIndex < 0 && rec->TypeCode == TypeCode::Unsigned && rolled.size() < 2)
            rolled.push_back(rec.get());
    if (rolled.size() < 2)
        return 1;
    form->activateWindow();
    for (const double until = now() + 5; !form->isActiveWindow() && now() < until;)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    form->TreeView1->setFocus();
    std::vector<QModelIndex> entries;
    for (const TBcfgRecAll* rec : rolled) {
        form->TreeView1->RevealRecord(rec);
        entries.push_back(form->TreeView1->currentIndex());
    }
    QCoreApplication::processEvents();
    // The wall time a step takes on average, and (cpu) the processor time.
    const auto average = [&](double& cpu, auto&& step) {
        const double start = now();
        const double startCpu = cpuSeconds();
        int done = 0;
        while (done < Steps && now() - start < StepBudget) {
            if (!step(done))
                return -1.0;
            ++done;
            QCoreApplication::processEvents(); // the tree repaints what changed
        }
        cpu = (cpuSeconds() - startCpu) / done;
        return (now() - start) / done;
    };
    double wheelCpu = 0, undoCpu = 0;
    const double wheel = average(wheelCpu, [&](int i) {
        form->TreeView1->setCurrentIndex(entries[size_t(i % 2)]);
        const QPoint at = form->SelectedLabelScreenRect().center();
        // Up twice, down twice: the values stay in range.
        return form->FormMouseWheel(i % 4 < 2 ? 120 : -120, at);
    });
    const int made = form->UndoStack()->count();
    const double undo = average(undoCpu, [&](int) {
        form->Undo();
        return true;
    });
    std::printf("wheel %.9f\nwheelcpu %.9f\nsteps %d\nundo %.9f\nundocpu %.9f\n", wheel, wheelCpu,
                made, undo, undoCpu);
    std::fflush(stdout);
    _exit(wheel > 0 && undo > 0 && made == Steps ? 0 : 1);
}

double figure(const std::string& output, const char* name)
{
    const std::string key = std::string(name) + " ";
    const size_t at = output.find(key);
    return at == std::string::npos ? -1 : std::atof(output.c_str() + at + key.size());
}

// The million-record case, against the tree command.
bool millionCase(const QString& program, const QString& cli, const QString& demo,
                 const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("million.bcfg"));
    const qint64 size = BenchFile::WriteMixed(path, MillionRecords, 0);
    if (size < 0) {
        std::fprintf(stderr, "cannot write the million-record file\n");
        return false;
    }
    std::printf("\nfile: %d records, %lld bytes; each figure beside parvane-cli tree on it\n",
                MillionRecords, qlonglong(size));
    const std::string self = program.toStdString();
    const auto window = [&](const QString& file, bool steps) {
        std::vector<std::string> args{"--window", file.toStdString(), ""};
        if (steps)
            args.push_back("--steps");
        args[2] = std::to_string(now()); // the moment it starts
        return run(self, args);
    };
    double tree = 1e300, treePeak = 0, shown = 1e300, demoShown = 1e300, peak = 0;
    for (int round = 0; round < Rounds; ++round) {
        const Child t = run(cli.toStdString(), {"tree", path.toStdString()});
        const Child w = window(path, false);
        const Child d = window(demo, false);
        if (!t.ok || !w.ok || !d.ok) {
            std::fprintf(stderr, "a child failed: tree %d, window %d, demo window %d\n", t.ok, w.ok,
                         d.ok);
            return false;
        }
        tree = std::min(tree, t.seconds);
        treePeak = std::max(treePeak, t.peakBytes);
        shown = std::min(shown, figure(w.output, "shown"));
        peak = std::max(peak, figure(w.output, "peak"));
        demoShown = std::min(demoShown, figure(d.output, "shown"));
    }
    char beside[160];
    std::snprintf(beside, sizeof beside, "(tree %.1f ms; demo file shown after %.1f ms)",
                  tree * 1e3, demoShown * 1e3);
    check("shown, over the demo file", shown - demoShown, OverCliLimit * tree, "ms", 1e3, beside);
    std::snprintf(beside, sizeof beside, "(tree %.1f MB)", treePeak / 1e6);
    check("window's peak memory", peak, MemoryFactor * treePeak + MemoryAllowance, "MB", 1e-6,
          beside);

    const Child steps = window(path, true);
    if (!steps.ok)
        std::printf("the wheel and undo steps did not all run within %.0f s each\n", StepBudget);
    const int made = int(figure(steps.output, "steps"));
    std::snprintf(beside, sizeof beside, "(%d steps; processor %.1f ms a step; tree %.1f ms)", made,
                  figure(steps.output, "wheelcpu") * 1e3, tree * 1e3);
    check("wheel step, on average", figure(steps.output, "wheel"), StepLimit, "ms", 1e3, beside);
    std::snprintf(beside, sizeof beside, "(%d steps; processor %.1f ms a step; tree %.1f ms)", made,
                  figure(steps.output, "undocpu") * 1e3, tree * 1e3);
    check("undo, on average", figure(steps.output, "undo"), StepLimit, "ms", 1e3, beside);
    return steps.ok;
}

} // namespace

int main(int argc, char* argv[])
{
    const bool child = argc >= 4 && std::string(argv[1]) == "--window";
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication::setApplicationName(QStringLiteral("parvane-bench-editor"));
    QApplication app(argc, argv);
    UseDesignFont();
    SetApplicationTitle(DefaultApplicationTitle());
    // A box would wait for an answer; test mode records it instead.
    Dialogs::SetTestMode(true);
    if (child)
        return windowChild(app, QString::fromLocal8Bit(argv[2]), std::atof(argv[3]),
                           argc > 4 && std::string(argv[4]) == "--steps");
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const QString cli =
        argc > 1 ? QString::fromLocal8Bit(argv[1])
                 : QFileInfo(program).absolutePath() + QStringLiteral("/../cli/parvane-cli");
    if (!QFileInfo(cli).isExecutable()) {
        std::fprintf(stderr, "not an executable: %s\n", qPrintable(cli));
        return 1;
    }

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
            form->TreeView1->model()->rowCount() == 0 || !boxes.isEmpty()) {
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
            const QAbstractItemModel& model = *form->TreeView1->model();
            std::vector<QModelIndex> open{QModelIndex()};
            while (!open.empty()) {
                const QModelIndex parent = open.back();
                open.pop_back();
                for (int row = 0; row < model.rowCount(parent); ++row) {
                    const QModelIndex entry = model.index(row, 0, parent);
                    ++entries;
                    if (model.hasChildren(entry)) {
                        closed += !form->TreeView1->isExpanded(entry);
                        open.push_back(entry);
                    }
                }
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
    if (!millionCase(program, cli, QStringLiteral(PARVANE_DEMO_FILE), dir))
        ++misses;
    std::printf("bench-editor: %d of %d targets met: %s\n", checks - misses, checks,
                misses == 0 ? "PASS" : "FAIL");
    return misses == 0 ? 0 : 1;
}
