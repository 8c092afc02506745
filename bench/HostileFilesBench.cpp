// Well-formed but hostile books and PDFs: each reading of each file (its page list as the
// viewer builds it, the file opened in the main window, its extraction, a new description, the
// shell's info tip and thumbnail, counting a PDF's pages) runs in a process of its own under an
// address-space cap, and its time and peak resident memory are printed beside md5sum's of the same
// file.
//   hostile_files_bench [--timeout=SECONDS] [--only=TEXT]
#include "app/Unit1.h"
#include "app/adapters/QtUiHooks.h"
#include "app/core/files/BookWriter.h"
#include "app/core/pages/PageList.h"
#include "app/core/pages/PdfPageCount.h"
#include "app/core/program/MemoryReuse.h"
#include "app/core/render/PageRendering.h"
#include "app/core/seams/OutsidePrograms.h"
#include "app/core/tools/PageExtraction.h"
#include "app/core/tools/PdfToBook.h"
#include "bench/BenchBooks.h"
#include "shellext/User.h"
#include "tests/support/BookFixture.h"
#include "tests/support/HostileFiles.h"
#include "tests/support/QtPath.h"
#include "tests/support/RecordingLinks.h"
#include "tests/support/RecordingPrompter.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// What a reading may take at most: beyond it the process is refused memory, as on a small
// machine, and never endangers the one it runs on.
constexpr rlim_t AddressSpaceCap = rlim_t(4) << 30;

std::string described(const BookPages &state, const RecordingPrompter &prompter)
{
    std::string text = std::to_string(state.PageList.size()) + " pages";
    if (!prompter.messages.empty())
        text += ", " + std::to_string(prompter.messages.size()) +
                " msg: " + prompter.messages.front().text.toStdString();
    return text;
}

BookPages opened(const fs::path &file, RecordingPrompter &prompter)
{
    BookPages state;
    state.CurrentFile = QtPath(file);
    state.Book = OpenBook::open(state.CurrentFile);
    state.BlankCount = 0;
    NoUiHooks ui;
    CountPages(state, prompter, ui);
    BuildPageList(state, prompter);
    return state;
}

// The readings, each giving a short account of its outcome.
using Reading = std::function<std::string(const fs::path &)>;

std::string openBook(const fs::path &file)
{
    RecordingPrompter prompter;
    return described(opened(file, prompter), prompter);
}

// The file opened in the main window as the user opens it: its page list, its first page and
// the rows of the grid around the view.
std::string openInWindow(const fs::path &file)
{
    RecordingPrompter prompter;
    ScriptedDialogs dialogs;
    QtUiHooks ui;
    SystemPrograms programs;
    RecordingLinks links;
    TForm1 form({prompter, dialogs, ui, programs, links, QStringLiteral("quirelle")});
    form.resize(1280, 1000);
    form.show();
    QCoreApplication::processEvents();
    form.Charge(QtPath(file));
    return described(form.state, prompter);
}

std::string extractPages(const fs::path &file)
{
    RecordingPrompter prompter;
    const BookPages state = opened(file, prompter);
    const fs::path folder = file.string() + ".pages";
    ExtractPages(state, prompter, [&](QString &chosen) {
        chosen = QtPath(folder);
        return true;
    });
    std::size_t files = 0;
    std::error_code error;
    for (auto entry = fs::recursive_directory_iterator(folder, error);
         entry != fs::recursive_directory_iterator(); ++entry)
        files += entry->is_regular_file();
    fs::remove_all(folder, error);
    return std::to_string(files) + " files, " + std::to_string(prompter.messages.size()) + " msg";
}

std::string writeDescription(const fs::path &file)
{
    const fs::path copy = file.string() + ".copy.bd";
    fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
    RecordingPrompter prompter;
    OpenBook book = OpenBook::open(QtPath(copy));
    const bool written = WriteDescription(book, prompter, ToBytes("{\\rtf1 Une histoire}"));
    RecordingPrompter reopened;
    const std::string after = described(opened(copy, reopened), reopened);
    fs::remove(copy);
    return (written ? "written, then " : "not written, then ") + after;
}

std::string infoTip(const fs::path &file)
{
    const std::u16string tip = shellext::BuildInfoTip(file.string());
    std::string text;
    for (const char16_t c : tip)
        text += c == u'\r' ? ' ' : c == u'\n' ? '|' : c < 128 ? char(c) : '?';
    return text;
}

std::string thumbnail(const fs::path &file)
{
    platform::Raster bitmap(256, 256);
    shellext::DrawFirstPage(file.string(), bitmap);
    return "drawn";
}

std::string countPdfPages(const fs::path &file)
{
    NoUiHooks ui;
    return std::to_string(CountPdfPages(QtPath(file), ui)) + " pages";
}

// The first page of a PDF as the page view shows it, or as the grid shows it as a thumbnail.
std::string pdfPage(const fs::path &file, bool thumbnail)
{
    RecordingPrompter prompter;
    NoUiHooks ui;
    BookPages state;
    state.CurrentFile = QtPath(file);
    state.Book = OpenBook::open(state.CurrentFile);
    const PageRenderEnv env{prompter, ui, QSize(800, 600), QStringLiteral("quirelle")};
    const std::optional<QImage> page =
        thumbnail ? LoadPageThumbnail(state, 0, env, [](QSize) { return QSize(150, 150); }).bitmap
                  : LoadPageBitmap(state, 0, env);
    return page ? std::to_string(page->width()) + " x " + std::to_string(page->height())
                : std::string("no page");
}

std::string pdfToBook(const fs::path &file)
{
    RecordingPrompter prompter;
    NoUiHooks ui;
    SystemPrograms programs;
    const fs::path book = file.string() + ".bd";
    PdfToBook(QtPath(file), {prompter, ui, programs, QString(), [](int) {}, [] { return true; },
                             [&] { return std::optional<QString>(QtPath(book)); }});
    std::error_code error;
    const std::string outcome = fs::exists(book)
                                    ? "book of " + std::to_string(fs::file_size(book)) + " bytes"
                                    : std::to_string(prompter.messages.size()) + " msg";
    fs::remove(book, error);
    return outcome;
}

const std::vector<std::pair<std::string, Reading>> Readings = {
    {"open", openBook},
    {"window", openInWindow},
    {"extract", extractPages},
    {"description", writeDescription},
    {"info tip", infoTip},
    {"thumbnail", thumbnail},
    {"pdf count", countPdfPages},
    {"pdf page", [](const fs::path &file) { return pdfPage(file, false); }},
    {"pdf thumbnail", [](const fs::path &file) { return pdfPage(file, true); }},
    {"pdf to book", pdfToBook},
};

// --run=<reading> <file>: runs one reading and prints its time in ms and its outcome.
int runReading(const std::string &name, const fs::path &file)
{
    for (const auto &[reading, body] : Readings)
        if (reading == name) {
            const auto start = std::chrono::steady_clock::now();
            const std::string outcome = body(file);
            const std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            std::printf("%.1f %s\n", took.count(), outcome.c_str());
            return 0;
        }
    return 2;
}

struct Measure {
    double ms = -1; // the reading's own time, or the whole process's for md5sum
    double peakMB = -1;
    std::string outcome;
};

// Runs the program with its arguments under the cap, stopping it after timeout seconds. Its
// peak memory comes from /usr/bin/time, whose child starts small, not as a copy of this one.
Measure runProcess(std::vector<std::string> arguments, int timeout, bool ownTime)
{
    const fs::path peakFile = bench::FixtureFolder() / "peak.txt";
    arguments.insert(arguments.begin(), {"/usr/bin/time", "-f", "%M", "-o", peakFile.string()});
    int output[2];
    if (pipe(output) != 0)
        return {};
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const rlimit cap{AddressSpaceCap, AddressSpaceCap};
        setrlimit(RLIMIT_AS, &cap);
        setpgid(0, 0);
        dup2(output[1], STDOUT_FILENO);
        close(output[0]);
        std::vector<char *> argv;
        for (const std::string &argument : arguments)
            argv.push_back(const_cast<char *>(argument.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(output[1]);
    int status = 0;
    Measure measure;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (done == child) {
            measure.ms = took.count() * 1e3;
            break;
        }
        if (took.count() > timeout) {
            kill(-child, SIGKILL);
            waitpid(child, &status, 0);
            measure.outcome = "stopped after " + std::to_string(timeout) + " s";
            close(output[0]);
            return measure;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::string printed;
    char chunk[512];
    for (ssize_t got; (got = read(output[0], chunk, sizeof chunk)) > 0;)
        printed.append(chunk, std::size_t(got));
    close(output[0]);
    // /usr/bin/time writes "Command terminated by signal N" before the figure after a crash.
    std::string peak;
    if (std::FILE *file = std::fopen(peakFile.c_str(), "r")) {
        for (int c; (c = std::fgetc(file)) != EOF;)
            peak += char(c);
        std::fclose(file);
    }
    const std::size_t figure = peak.find_last_of('\n', peak.size() - 2);
    measure.peakMB =
        std::atof(peak.c_str() + (figure == std::string::npos ? 0 : figure + 1)) / 1024;
    if (peak.rfind("Command", 0) == 0) {
        measure.outcome = peak.substr(0, peak.find('\n'));
    } else if (ownTime) {
        char *rest = nullptr;
        measure.ms = std::strtod(printed.c_str(), &rest);
        measure.outcome = rest && *rest ? std::string(rest + 1) : std::string();
        if (!measure.outcome.empty() && measure.outcome.back() == '\n')
            measure.outcome.pop_back();
    }
    return measure;
}

struct HostileFile {
    std::string title;
    std::function<void(const fs::path &)> make;
    std::vector<std::string> readings;
};

void writeBytes(const fs::path &path, const Bytes &bytes)
{
    WriteFileBytes(path, bytes);
}

const std::vector<HostileFile> &hostileFiles()
{
    const std::vector<std::string> book = {"open", "window", "info tip"};
    static const std::vector<HostileFile> files = {
        {"100,000 records of 4 bytes",
         [](const fs::path &p) { writeBytes(p, TinyRecordBook(100'000)); }, book},
        {"1,000,000 empty records",
         [](const fs::path &p) { writeBytes(p, EmptyRecordBook(1'000'000)); }, book},
        {"zero-filled 8 MiB", [](const fs::path &p) { WriteZeroFile(p, 8 << 20); }, book},
        {"zero-filled 64 MiB", [](const fs::path &p) { WriteZeroFile(p, 64 << 20); }, book},
        {"zero-filled 3 GiB sparse",
         [](const fs::path &p) { WriteZeroFile(p, std::int64_t(3) << 30); },
         {"open", "window", "info tip", "thumbnail"}},
        {"3 images imposing page 9998",
         [](const fs::path &p) { writeBytes(p, BookImposingLastPages(3)); },
         {"open", "window"}},
        {"30,000 constraints",
         [](const fs::path &p) { writeBytes(p, ConstrainedBook(30'000)); },
         {"open", "window"}},
        {"100,000 constraints",
         [](const fs::path &p) { writeBytes(p, ConstrainedBook(100'000)); },
         {"open", "window"}},
        {"300,000 constraints",
         [](const fs::path &p) { writeBytes(p, ConstrainedBook(300'000)); },
         {"open", "window"}},
        {"{page, empty, empty}",
         [](const fs::path &p) { writeBytes(p, PageAndTwoEmptyRecords()); },
         {"open", "window", "extract", "description"}},
        {"zero-filled 8 GiB sparse, 2^31+1 records",
         [](const fs::path &p) { WriteZeroFile(p, 8'589'934'600); },
         {"open", "info tip"}},
        {"PDF page of 14,400 pt square",
         [](const fs::path &p) {
             writeBytes(p, ToBytes(PdfOfOnePage("/MediaBox [0 0 14400 14400]")));
         },
         {"pdf count", "window", "pdf page", "pdf thumbnail", "pdf to book"}},
        {"2 GB sparse PDF",
         [](const fs::path &p) { WriteSparsePdf(p, 2'000'000'000); },
         {"pdf count"}},
        {"PDF listing 100,000 entries",
         [](const fs::path &p) { writeBytes(p, ToBytes(PdfListingEntries(100'000))); },
         {"pdf count"}},
    };
    return files;
}

std::string sizeText(std::uintmax_t bytes)
{
    char text[32];
    if (bytes >= (std::uintmax_t(1) << 30))
        std::snprintf(text, sizeof text, "%.1f GiB", double(bytes) / double(1 << 30));
    else if (bytes >= (1 << 20))
        std::snprintf(text, sizeof text, "%.1f MiB", double(bytes) / double(1 << 20));
    else
        std::snprintf(text, sizeof text, "%.1f KiB", double(bytes) / 1024);
    return text;
}

// The goals: a file under 10 MB read in under 1 s and 300 MB; a larger one at md5sum's speed
// or better.
const char *goal(std::uintmax_t size, const Measure &measure, const Measure &md5)
{
    const bool met = size < 10'000'000
                         ? measure.ms >= 0 && measure.ms < 1000 && measure.peakMB < 300
                         : measure.ms >= 0 && measure.ms <= md5.ms;
    return met ? "met" : "MISSED";
}

void printTable(int timeout, const std::string &only)
{
    const std::string self = QCoreApplication::applicationFilePath().toStdString();
    std::printf("%-30s %9s %-11s %10s %8s %10s %8s %6s  %s\n", "file", "size", "reading", "ms",
                "peak MB", "md5sum ms", "peak MB", "goal", "outcome");
    for (const HostileFile &hostile : hostileFiles()) {
        if (!only.empty() && hostile.title.find(only) == std::string::npos)
            continue;
        const bool pdf = hostile.readings.front() == "pdf count";
        const fs::path file = bench::FixtureFolder() / (pdf ? "hostile.pdf" : "hostile.bd");
        hostile.make(file);
        const Measure md5 = runProcess({"md5sum", file.string()}, timeout, false);
        for (const std::string &reading : hostile.readings) {
            const Measure measure =
                runProcess({self, "--run=" + reading, file.string()}, timeout, true);
            const std::uintmax_t size = fs::file_size(file);
            std::printf("%-30s %9s %-11s %10.1f %8.1f %10.1f %8.1f %6s  %.100s\n",
                        hostile.title.c_str(), sizeText(size).c_str(), reading.c_str(), measure.ms,
                        measure.peakMB, md5.ms, md5.peakMB, goal(size, measure, md5),
                        measure.outcome.c_str());
            std::fflush(stdout);
        }
        fs::remove(file);
    }
}

} // namespace

int main(int argc, char **argv)
{
    KeepFreedMemoryForReuse(); // as the program starts
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const fs::path runtime = bench::FixtureFolder() / "runtime";
    fs::create_directories(runtime);
    fs::permissions(runtime, fs::perms::owner_all);
    qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.string()));
    QApplication application(argc, argv);
    int timeout = 120;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.rfind("--run=", 0) == 0 && i + 1 < argc)
            return runReading(argument.substr(6), argv[i + 1]);
        if (argument.rfind("--timeout=", 0) == 0)
            timeout = std::stoi(argument.substr(10));
        if (argument.rfind("--only=", 0) == 0)
            only = argument.substr(7);
    }
    printTable(timeout, only);
    return 0;
}
