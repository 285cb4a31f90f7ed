// Runs parvane-cli on a million records and on a file nested a hundred thousand levels deep, as
// separate processes, and holds its time and peak memory against what the machine does with
// the same bytes without it: a plain file copy, plain writes of the output, and the memory of
// a start-up that loads nearly nothing.
//
// Usage: parvane-bench-scale CLI_PATH [WORKDIR]
// The files are made in a new directory under WORKDIR (by default $TMPDIR or /tmp), which is
// removed at the end. Exit status 0 when every target holds, 1 otherwise.

#include "BenchFile.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Rounds = 3;
constexpr qint64 BigRecords = 1000000;
constexpr int DeepLevels = 100000;
constexpr int ChildTimeoutSeconds = 120;
constexpr rlim_t ChildAddressSpace = rlim_t(8) << 30;
// No output of a command is to grow past this on disk.
constexpr rlim_t ChildFileSize = rlim_t(1) << 30;

double now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

double mb(double bytes)
{
    return bytes / (1024.0 * 1024.0);
}

qint64 fileSize(const std::string& path)
{
    struct stat st {
    };
    return stat(path.c_str(), &st) == 0 ? qint64(st.st_size) : -1;
}

struct Child {
    bool ok = false; // exited with status 0 in time
    bool timedOut = false;
    int status = 0;
    double seconds = 0;
    double peakBytes = 0;
};

// Runs program with args; its standard output goes to stdoutPath (a file made here) or, when
// that is empty, to /dev/null; its standard error to stderrPath. SIGCHLD is blocked in this
// process, so that the end of the child is waited for without polling.
Child runOnce(const std::string& program, const std::vector<std::string>& args,
              const std::string& stdoutPath, const std::string& stderrPath)
{
    Child result;
    const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int out = stdoutPath.empty()
                        ? open("/dev/null", O_WRONLY | O_CLOEXEC)
                        : open(stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const int err = open(stderrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (in < 0 || out < 0 || err < 0) {
        std::perror("open");
        for (int fd : {in, out, err})
            if (fd >= 0)
                close(fd);
        return result;
    }
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    sigset_t childSignals;
    sigemptyset(&childSignals);
    sigaddset(&childSignals, SIGCHLD);

    const double start = now();
    const pid_t pid = fork();
    if (pid == 0) {
        sigprocmask(SIG_UNBLOCK, &childSignals, nullptr);
        const rlimit as{ChildAddressSpace, ChildAddressSpace};
        setrlimit(RLIMIT_AS, &as);
        if (!stdoutPath.empty()) {
            const rlimit fsize{ChildFileSize, ChildFileSize};
            setrlimit(RLIMIT_FSIZE, &fsize);
        }
        dup2(in, 0);
        dup2(out, 1);
        dup2(err, 2);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(in);
    close(out);
    close(err);
    if (pid < 0) {
        std::perror("fork");
        return result;
    }

    const double deadline = start + ChildTimeoutSeconds;
    rusage usage{};
    int status = 0;
    for (;;) {
        const pid_t done = wait4(pid, &status, WNOHANG, &usage);
        if (done == pid)
            break;
        const double left = deadline - now();
        if (left <= 0) {
            kill(pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            result.timedOut = true;
            break;
        }
        timespec wait{time_t(left), long((left - double(time_t(left))) * 1e9)};
        sigtimedwait(&childSignals, nullptr, &wait);
    }
    result.seconds = now() - start;
    result.peakBytes = double(usage.ru_maxrss) * 1024.0; // kilobytes on Linux
    result.status = status;
    result.ok = !result.timedOut && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

struct Measured {
    bool ok = false;
    double seconds = 0;   // best round
    double peakBytes = 0; // highest round
    std::string problem;
};

std::string firstLines(const std::string& path)
{
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[512];
        const size_t n = std::fread(buffer, 1, sizeof buffer - 1, f);
        std::fclose(f);
        text.assign(buffer, n);
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// Best time and highest peak memory of Rounds runs; a run that fails or times out ends the
// measurement (repeating a two-minute timeout only delays the report).
Measured measure(const std::string& program, const std::vector<std::string>& args,
                 const std::string& stdoutPath, const std::string& stderrPath)
{
    Measured m;
    m.seconds = 1e300;
    for (int round = 0; round < Rounds; ++round) {
        const Child c = runOnce(program, args, stdoutPath, stderrPath);
        m.peakBytes = std::max(m.peakBytes, c.peakBytes);
        m.seconds = std::min(m.seconds, c.seconds);
        if (!c.ok) {
            char text[128];
            if (c.timedOut)
                std::snprintf(text, sizeof text, "killed after %d s", ChildTimeoutSeconds);
            else if (WIFSIGNALED(c.status))
                std::snprintf(text, sizeof text, "ended by signal %d", WTERMSIG(c.status));
            else
                std::snprintf(text, sizeof text, "exit status %d", WEXITSTATUS(c.status));
            m.problem = text;
            const std::string said = firstLines(stderrPath);
            if (!said.empty())
                m.problem += ": " + said;
            return m;
        }
    }
    m.ok = true;
    return m;
}

// Copies in 256 KB blocks, the way any program would without knowing the format. Saved
// safely, it writes a new file, puts it on the disk and renames it over to, as parvane-cli's
// saves do (they never leave a half-written file).
bool plainCopy(const std::string& from, const std::string& to, bool safely = false)
{
    const std::string target = safely ? to + ".new" : to;
    const int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    const int out = open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    bool ok = in >= 0 && out >= 0;
    std::vector<char> buffer(256 * 1024);
    while (ok) {
        const ssize_t n = read(in, buffer.data(), buffer.size());
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        ok = write(out, buffer.data(), size_t(n)) == n;
    }
    if (ok && safely)
        ok = fdatasync(out) == 0;
    if (in >= 0)
        close(in);
    if (out >= 0 && close(out) != 0)
        ok = false;
    if (ok && safely)
        ok = rename(target.c_str(), to.c_str()) == 0;
    return ok;
}

bool sameBytes(const std::string& a, const std::string& b)
{
    FILE* fa = std::fopen(a.c_str(), "rb");
    FILE* fb = std::fopen(b.c_str(), "rb");
    bool same = fa && fb;
    std::vector<char> ba(256 * 1024), bb(256 * 1024);
    while (same) {
        const size_t na = std::fread(ba.data(), 1, ba.size(), fa);
        const size_t nb = std::fread(bb.data(), 1, bb.size(), fb);
        same = na == nb && std::memcmp(ba.data(), bb.data(), na) == 0;
        if (na == 0)
            break;
    }
    if (fa)
        std::fclose(fa);
    if (fb)
        std::fclose(fb);
    return same;
}

// The best time to write the bytes of file to a new file in 64 KB writes. The bytes are
// mapped, not read onto the heap, so that the next child does not start with them.
double plainWriteSeconds(const std::string& file, const std::string& to)
{
    const qint64 size = fileSize(file);
    if (size <= 0)
        return 0;
    const int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    void* map = mmap(nullptr, size_t(size), PROT_READ, MAP_PRIVATE, fd, 0);
    close(fd);
    if (map == MAP_FAILED)
        return 0;
    const char* bytes = static_cast<const char*>(map);
    volatile char touched = 0;
    for (qint64 at = 0; at < size; at += 4096)
        touched = char(touched + bytes[at]);

    double best = 1e300;
    for (int round = 0; round < Rounds; ++round) {
        const double start = now();
        const int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        bool ok = out >= 0;
        for (qint64 at = 0; ok && at < size; at += 65536) {
            const size_t n = size_t(std::min<qint64>(65536, size - at));
            ok = write(out, bytes + at, n) == ssize_t(n);
        }
        if (out >= 0)
            close(out);
        if (!ok) {
            best = 0;
            break;
        }
        best = std::min(best, now() - start);
    }
    munmap(map, size_t(size));
    unlink(to.c_str());
    return best;
}

int checks = 0;
int misses = 0;

void verdict(bool pass)
{
    ++checks;
    if (!pass)
        ++misses;
    std::printf("  %s\n", pass ? "PASS" : "FAIL");
}

// A time against a multiple of its baseline.
void timeLine(const char* what, double seconds, const char* baselineName, double baseline,
              double limit)
{
    const double ratio = baseline > 0 ? seconds / baseline : 1e300;
    std::printf("%-32s %9.1f ms   %s %9.1f ms   ratio %7.2f (limit %4.1f)", what, seconds * 1e3,
                baselineName, baseline * 1e3, ratio, limit);
    verdict(ratio <= limit);
}

// A peak against twice the input's size on top of the start-up memory; the ratio is the peak
// above start-up per byte of input.
void memoryLine(const char* what, double peak, double inputBytes, double startup)
{
    const double ratio = (peak - startup) / inputBytes;
    std::printf("%-32s %9.1f MB   file %6.1f MB + start-up %5.1f MB   ratio %7.2f (limit  2.0)",
                what, mb(peak), mb(inputBytes), mb(startup), ratio);
    verdict(peak <= 2 * inputBytes + startup);
}

void failedLine(const char* what, const Measured& m)
{
    std::printf("%-32s %s", what, m.problem.c_str());
    verdict(false);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s CLI_PATH [WORKDIR]\n", argv[0]);
        return 1;
    }
    const std::string cli = argv[1];
    if (access(cli.c_str(), X_OK) != 0) {
        std::fprintf(stderr, "%s: not an executable: %s\n", argv[0], cli.c_str());
        return 1;
    }
    std::string parent = argc > 2 ? argv[2] : "";
    if (parent.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        parent = tmp && *tmp ? tmp : "/tmp";
    }
    std::string pattern = parent + "/parvane-bench-scale-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror(pattern.c_str());
        return 1;
    }
    const std::string dir = pattern;
    std::vector<std::string> made; // removed at the end, and nothing else
    const auto file = [&](const char* name) {
        const std::string path = dir + "/" + name;
        if (std::find(made.begin(), made.end(), path) == made.end())
            made.push_back(path);
        return path;
    };
    const auto cleanUp = [&] {
        for (const std::string& path : made)
            unlink(path.c_str());
        rmdir(dir.c_str());
    };

    // Children are waited for with sigtimedwait().
    sigset_t childSignals;
    sigemptyset(&childSignals);
    sigaddset(&childSignals, SIGCHLD);
    sigprocmask(SIG_BLOCK, &childSignals, nullptr);

    const std::string big = file("big.bcfg");
    const std::string big2 = file("big2.bcfg");
    const std::string deep = file("deep.bcfg");
    const std::string tiny = file("tiny.bcfg");
    const std::string err = file("stderr.txt");
    std::printf("generating in %s\n", dir.c_str());
    std::fflush(stdout);
    const qint64 bigSize = BenchFile::WriteMixed(QString::fromStdString(big), BigRecords, 0);
    const qint64 big2Size = BenchFile::WriteMixed(QString::fromStdString(big2), BigRecords, 1);
    const qint64 deepSize = BenchFile::WriteDeep(QString::fromStdString(deep), DeepLevels);
    const qint64 tinySize = BenchFile::WriteMixed(QString::fromStdString(tiny), 1, 0);
    if (bigSize < 0 || big2Size < 0 || deepSize < 0 || tinySize < 0) {
        std::fprintf(stderr, "cannot write the benchmark files in %s\n", dir.c_str());
        cleanUp();
        return 1;
    }
    std::printf("big.bcfg  %lld records, %lld bytes (%.1f bytes a record); big2.bcfg the same "
                "layout, other values\n",
                qlonglong(BigRecords), qlonglong(bigSize), double(bigSize) / double(BigRecords));
    std::printf("deep.bcfg %d levels deep, %lld bytes\n", DeepLevels, qlonglong(deepSize));
    std::printf("times: best of %d runs; memory: highest peak RSS of those runs\n\n", Rounds);

    // Baselines.
    double copySeconds = 1e300;
    for (int round = 0; round < Rounds; ++round) {
        const double start = now();
        if (!plainCopy(big, file("plain-copy.bcfg"))) {
            std::fprintf(stderr, "the plain copy failed\n");
            cleanUp();
            return 1;
        }
        copySeconds = std::min(copySeconds, now() - start);
    }
    // Only shown: the targets are set against the plain copy.
    double safeSeconds = 1e300;
    for (int round = 0; round < Rounds; ++round) {
        const double start = now();
        if (!plainCopy(big, file("plain-copy.bcfg"), true))
            break;
        safeSeconds = std::min(safeSeconds, now() - start);
    }
    unlink(file("plain-copy.bcfg").c_str());
    const Measured startup = measure(cli, {"tree", tiny}, "", err);
    if (!startup.ok) {
        std::fprintf(stderr, "parvane-cli tree on a one-record file: %s\n",
                     startup.problem.c_str());
        cleanUp();
        return 1;
    }
    const Measured get = measure(cli, {"get", big, BenchFile::LastPath}, "", err);
    std::printf("baseline: plain copy of big.bcfg      %9.1f ms\n", copySeconds * 1e3);
    std::printf("          the same, saved safely      %9.1f ms   (synced, renamed over the "
                "last copy; shown only)\n",
                safeSeconds * 1e3);
    std::printf("baseline: start-up (tree, 1 record)   %9.1f MB   %9.1f ms\n",
                mb(startup.peakBytes), startup.seconds * 1e3);
    if (get.ok)
        std::printf("baseline: get big.bcfg %-14s %9.1f MB   %9.1f ms\n\n", BenchFile::LastPath,
                    mb(get.peakBytes), get.seconds * 1e3);
    else
        std::printf("baseline: get big.bcfg %s: %s\n\n", BenchFile::LastPath, get.problem.c_str());
    const double base = startup.peakBytes;

    // a. copy
    double cliCopySeconds = 0;
    {
        const std::string out = file("out.bcfg");
        const Measured m = measure(cli, {"copy", big, out}, "", err);
        cliCopySeconds = m.ok ? m.seconds : 0;
        if (!m.ok) {
            failedLine("copy: run", m);
        } else {
            timeLine("copy: time", m.seconds, "plain copy", copySeconds, 4);
            std::printf("copy: time against the safely saved plain copy: ratio %.2f (shown only)\n",
                        m.seconds / safeSeconds);
            memoryLine("copy: peak RSS", m.peakBytes, double(bigSize), base);
            std::printf("%-32s %s", "copy: out.bcfg equals big.bcfg",
                        fileSize(out) == bigSize ? "same size" : "other size");
            verdict(sameBytes(big, out));
        }
        unlink(out.c_str());
    }

    // b. import
    {
        const std::string merged = file("merged.bcfg");
        const std::string said = file("import.txt");
        const Measured m = measure(cli, {"import", big, big2, "-o", merged}, said, err);
        if (!m.ok) {
            failedLine("import: run", m);
        } else {
            std::printf("import: %s; peak RSS %.1f MB\n", firstLines(said).c_str(),
                        mb(m.peakBytes));
            timeLine("import: time", m.seconds, "plain copy", copySeconds, 10);
            std::printf(
                "import: time against the safely saved plain copy: ratio %.2f (shown only)\n",
                m.seconds / safeSeconds);
        }
        unlink(merged.c_str());
    }

    // c. tree and records of the big file, to a file
    double treeSeconds = 0;
    for (const char* command : {"tree", "records"}) {
        const std::string output = file("output.txt");
        const Measured m = measure(cli, {command, big}, output, err);
        const std::string name = std::string(command) + ": ";
        if (!m.ok) {
            failedLine((name + "run").c_str(), m);
            unlink(output.c_str());
            continue;
        }
        if (std::string(command) == "tree")
            treeSeconds = m.seconds;
        const qint64 outputSize = fileSize(output);
        const double written = plainWriteSeconds(output, file("plain-write.txt"));
        unlink(output.c_str());
        std::printf("%s%lld output bytes, whole time %.1f ms, get %.1f ms, plain write %.1f ms\n",
                    name.c_str(), qlonglong(outputSize), m.seconds * 1e3,
                    get.ok ? get.seconds * 1e3 : 0.0, written * 1e3);
        memoryLine((name + "peak RSS").c_str(), m.peakBytes, double(bigSize), base);
        if (get.ok) {
            timeLine((name + "time over get").c_str(), m.seconds - get.seconds, "plain write",
                     written, 3);
        } else {
            std::printf("%-32s no time of get to take off", (name + "time over get").c_str());
            verdict(false);
        }
    }

    // c2. the settings as text: dump of the big file against tree, load of that dump against copy
    {
        const std::string settings = file("settings.toml");
        const std::string loaded = file("loaded.bcfg");
        const Measured dump = measure(cli, {"dump", big, "--passwords"}, settings, err);
        if (!dump.ok) {
            failedLine("dump: run", dump);
        } else {
            std::printf("dump: %lld output bytes, peak RSS %.1f MB\n",
                        qlonglong(fileSize(settings)), mb(dump.peakBytes));
            timeLine("dump: time", dump.seconds, "tree", treeSeconds, 2);
            const Measured load = measure(cli, {"load", big, settings, "-o", loaded}, "", err);
            if (!load.ok) {
                failedLine("load: run", load);
            } else {
                std::printf("load: peak RSS %.1f MB\n", mb(load.peakBytes));
                timeLine("load: time", load.seconds, "copy", cliCopySeconds, 3);
                std::printf("%-32s", "load: the dump gives big.bcfg");
                verdict(sameBytes(big, loaded));
            }
        }
        unlink(settings.c_str());
        unlink(loaded.c_str());
    }

    // d. tree and records of the deep file: the indentation alone is gigabytes, so /dev/null.
    for (const char* command : {"tree", "records"}) {
        const Measured m = measure(cli, {command, deep}, "", err);
        const std::string name = std::string(command) + " deep: ";
        if (!m.ok) {
            failedLine((name + "run").c_str(), m);
            continue;
        }
        std::printf("%stime %.1f ms\n", name.c_str(), m.seconds * 1e3);
        memoryLine((name + "peak RSS").c_str(), m.peakBytes, double(deepSize), base);
    }

    cleanUp();
    std::printf("\nbench-scale: %d of %d targets met: %s\n", checks - misses, checks,
                misses == 0 ? "PASS" : "FAIL");
    return misses == 0 ? 0 : 1;
}
