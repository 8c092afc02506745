// Start-up: the time from starting a program to the first frame on screen that shows the page,
// for quirelle opening a 1-page book and for the least Qt Widgets program painting the same
// JPEG (MinimalWindow.cpp), in turns. Runs under Xvfb, whose frame buffer it reads where Xvfb
// maps it (-fbdir); bench/run.sh runs it as
//   xvfb-run -s "-screen 0 1280x1024x24 -fbdir <folder>" first_frame_bench <folder>/Xvfb_screen0
// --program=<path> times another build of quirelle.
#include "app/core/creation/CreationMeta.h"
#include "bench/BenchBooks.h"
#include "bench/BenchFiles.h"
#include "bench/GoalTable.h"

#include <QColor>
#include <QGuiApplication>
#include <QImage>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The page: one colour, which nothing else on the screen has.
const QColor PageColour(200, 60, 140);

[[noreturn]] void fail(const std::string &message)
{
    std::fprintf(stderr, "first_frame_bench: %s\n", message.c_str());
    std::exit(1);
}

// The screen as Xvfb keeps it: an XWD file, its header of big-endian 32-bit fields, the
// colour map, then the pixels.
class Screen {
public:
    explicit Screen(const char *file)
    {
        const int fd = ::open(file, O_RDONLY);
        struct stat status {};
        if (fd < 0 || ::fstat(fd, &status) != 0)
            fail(std::string("cannot open the frame buffer ") + file);
        size_ = std::size_t(status.st_size);
        void *mapped = ::mmap(nullptr, size_, PROT_READ, MAP_SHARED, fd, 0);
        ::close(fd);
        if (mapped == MAP_FAILED || size_ < 100)
            fail("cannot map the frame buffer");
        bytes_ = static_cast<const std::uint8_t *>(mapped);
        const auto field = [&](int index) {
            std::uint32_t value;
            std::memcpy(&value, bytes_ + 4 * index, 4);
            return ntohl(value);
        };
        // header_size, pixmap_width, pixmap_height, bits_per_pixel, bytes_per_line, ncolors
        pixels_ = bytes_ + field(0) + field(19) * 12;
        width_ = int(field(4));
        height_ = int(field(5));
        bytesPerLine_ = field(12);
        if (field(11) != 32 || pixels_ + bytesPerLine_ * std::size_t(height_) > bytes_ + size_)
            fail("the screen must have 32 bits per pixel (-screen 0 WxHx24)");
    }
    ~Screen() { ::munmap(const_cast<std::uint8_t *>(bytes_), size_); }
    Screen(const Screen &) = delete;
    Screen &operator=(const Screen &) = delete;

    // Whether the page covers a good part of the screen: of every 8th pixel of every 8th row,
    // at least 2,000 (over 128,000 pixels) in its colour, give or take the JPEG's rounding.
    bool showsPage() const
    {
        int found = 0;
        for (int y = 0; y < height_; y += 8) {
            const auto *row = reinterpret_cast<const std::uint32_t *>(pixels_ + y * bytesPerLine_);
            for (int x = 0; x < width_; x += 8) {
                const QColor pixel = QColor::fromRgb(row[x]);
                found += std::abs(pixel.red() - PageColour.red()) < 12 &&
                         std::abs(pixel.green() - PageColour.green()) < 12 &&
                         std::abs(pixel.blue() - PageColour.blue()) < 12;
            }
        }
        return found >= 2000;
    }

private:
    const std::uint8_t *bytes_ = nullptr;
    std::size_t size_ = 0;
    const std::uint8_t *pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::size_t bytesPerLine_ = 0;
};

// Waits until the screen shows the page, or no longer does; fails after 30 s.
void waitFor(const Screen &screen, bool shown)
{
    const auto deadline = Clock::now() + 30s;
    while (screen.showsPage() != shown) {
        if (Clock::now() > deadline)
            fail(shown ? "the page never showed" : "the page stayed on screen");
        std::this_thread::sleep_for(200us);
    }
}

// Starts the program, its output dropped, and returns the time until its page shows; then ends
// it and waits until its window is gone.
double timeToFirstFrame(const Screen &screen, const std::vector<std::string> &command)
{
    std::vector<char *> argv;
    for (const std::string &argument : command)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);

    const auto start = Clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        fail("cannot start " + command.front());
    waitFor(screen, true);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();

    posix_spawn_file_actions_destroy(&actions);
    ::kill(child, SIGTERM);
    ::waitpid(child, nullptr, 0);
    waitFor(screen, false);
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        fail("usage: first_frame_bench <Xvfb frame buffer file> [--benchmark_repetitions=N] "
             "[--program=<path>]");
    const Screen screen(argv[1]);
    if (screen.showsPage())
        fail("the page colour is already on screen");

    // The page, and the 1-page book that holds it as the creation window writes books.
    const std::string page = (bench::FixtureFolder() / "page.jpg").string();
    const std::string book = (bench::FixtureFolder() / "page.bd").string();
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication application(argc, argv);
        QImage picture(800, 1100, QImage::Format_RGB32);
        picture.fill(PageColour);
        if (!picture.save(QString::fromStdString(page), "JPEG", 85))
            fail("cannot write the page");
        CreationContent content;
        content.PageFiles << QString::fromStdString(page);
        WriteCreatedBook(content, QString::fromStdString(book));
    }
    qunsetenv("QT_QPA_PLATFORM");
    // Settings go to a registry of their own, not the user's.
    const std::filesystem::path root = bench::FixtureFolder() / "root";
    std::filesystem::create_directories(root);
    setenv("QUIRELLE_ROOT", root.c_str(), 1);

    bench::GoalTable table;
    table.add("exec -> 1-page book painted / minimal Qt window painting it",
              bench::RunInterleavedTimed(
                  [&] {
                      return timeToFirstFrame(screen, {QUIRELLE_PROGRAM, book});
                  },
                  [&] {
                      return timeToFirstFrame(screen, {MINIMAL_WINDOW, page});
                  },
                  bench::Repetitions(argc, argv, 21)),
              1.3);
    table.print();
    return 0;
}
