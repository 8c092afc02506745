#include "platform/AtomicWrite.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::optional<std::string> ReadFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

unsigned ModeOf(const fs::path &path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// Writes chunks of one MiB through the writer in a child process, which tells after each one
// on progress, and commits; gives the child's id.
pid_t StartWriter(const fs::path &target, int chunks, char fill, int progress)
{
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    try {
        platform::AtomicFileWriter out(target);
        const std::string chunk(std::size_t(1) << 20, fill);
        for (int i = 0; i < chunks; ++i) {
            out.write(chunk.data(), chunk.size());
            if (::write(progress, "+", 1) != 1)
                ::_exit(2);
        }
        out.commit();
    } catch (const FileWriteError &) {
        ::_exit(1);
    }
    ::_exit(0);
}

// A write killed at any point leaves the file as it was or as it was being written, whole,
// and nothing beside it.
TEST(AtomicFileWriter, AKilledWriteLeavesTheOldFileOrTheNewOneAndNothingElse)
{
    constexpr int Chunks = 32;
    const std::string newBytes(std::size_t(Chunks) << 20, 'n');
    const std::string oldBytes = "l'ancien livre";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<int> jitter(0, 400);
    // After how many chunks the writer is killed; -1: never.
    const int killPoints[] = {0, 1, 8, 20, Chunks - 2, -1};
    for (const bool replacing : {true, false}) {
        for (const int killAfter : killPoints) {
            SCOPED_TRACE((replacing ? "replacing, killed after " : "new file, killed after ") +
                         std::to_string(killAfter));
            TempDir dir;
            const fs::path target = dir / "livre.bd";
            if (replacing)
                WriteFile(target, oldBytes);
            int pipe[2];
            ASSERT_EQ(::pipe(pipe), 0);
            const pid_t child = StartWriter(target, Chunks, 'n', pipe[1]);
            ::close(pipe[1]);
            char progress = 0;
            for (int i = 0; i < killAfter; ++i)
                ASSERT_EQ(::read(pipe[0], &progress, 1), 1);
            if (killAfter >= 0) {
                ::usleep(useconds_t(jitter(random)));
                ::kill(child, SIGKILL);
            }
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ::close(pipe[0]);
            if (killAfter < 0) {
                ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
            }

            const std::optional<std::string> left = ReadFile(target);
            const bool asBefore = replacing ? left == oldBytes : !left;
            EXPECT_TRUE(asBefore || left == newBytes)
                << (left ? std::to_string(left->size()) + " bytes" : "no file");
            if (killAfter < 0) {
                EXPECT_EQ(left, newBytes);
            }
            EXPECT_EQ(FileNamesIn(dir.path()),
                      left ? std::vector<std::string>{"livre.bd"} : std::vector<std::string>{});
        }
    }
}

// Processes that replace the same file at the same time, as the program and the shell host
// do with the registry: every write succeeds, and the file is one of them, whole.
TEST(AtomicFileWriter, WritersOfTheSameFileAtOnceDoNotMeet)
{
    TempDir dir;
    const fs::path target = dir / "registry.txt";
    constexpr std::size_t Size = 256 << 10;
    const std::string letters = "abcd";
    std::vector<pid_t> writers;
    for (const char letter : letters) {
        const pid_t child = ::fork();
        if (child == 0) {
            const std::string bytes(Size, letter);
            try {
                for (int i = 0; i < 20; ++i)
                    platform::WriteFileAtomically(target, bytes);
            } catch (const FileWriteError &) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        writers.push_back(child);
    }
    for (const pid_t writer : writers) {
        int status = 0;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::optional<std::string> left = ReadFile(target);
    ASSERT_TRUE(left && left->size() == Size);
    EXPECT_NE(letters.find(left->front()), std::string::npos);
    EXPECT_EQ(left->find_first_not_of(left->front()), std::string::npos);
    EXPECT_EQ(FileNamesIn(dir.path()), std::vector<std::string>{"registry.txt"});
}

// A new file gets 0666 less the umask, a replaced one keeps its mode, and a symbolic link
// stays a link to the file written.
TEST(AtomicFileWriter, ModeOfTheNewFileAndOfTheOneReplaced)
{
    struct Case {
        const char *name;
        mode_t umask;
        unsigned existing; // 0: no file yet
        unsigned expected;
    };
    const Case cases[] = {
        {"new file, umask 022", 022, 0, 0644},
        {"new file, umask 077", 077, 0, 0600},
        {"replaced private file", 022, 0600, 0600},
        {"replaced shared file", 077, 0664, 0664},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path target = dir / "Wininit.ini";
        if (c.existing) {
            WriteFile(target, "avant");
            ::chmod(target.c_str(), c.existing);
        }
        const mode_t saved = ::umask(c.umask);
        platform::WriteFileAtomically(target, "[rename]\r\n");
        EXPECT_EQ(::umask(saved), c.umask);
        EXPECT_EQ(ModeOf(target), c.expected);
        EXPECT_EQ(ReadFile(target), "[rename]\r\n");
    }

    TempDir dir;
    WriteFile(dir / "livre.bd", "avant");
    fs::create_symlink("livre.bd", dir / "lien.bd");
    platform::WriteFileAtomically(dir / "lien.bd", "après");
    EXPECT_TRUE(fs::is_symlink(dir / "lien.bd"));
    EXPECT_EQ(ReadFile(dir / "livre.bd"), "après");
    EXPECT_EQ(FileNamesIn(dir.path()), (std::vector<std::string>{"lien.bd", "livre.bd"}));
}

// A symbolic link stays a link, and the file it names is written, whether it exists yet or not.
TEST(AtomicFileWriter, ASymbolicLinkIsKeptAndWrittenThroughWhereverItLeads)
{
    const struct {
        const char *name;
        std::vector<std::pair<std::string, std::string>> links; // name, what it leads to
        const char *existing;                                   // the file at the end, or null
        std::string written;                                    // the file at the end
    } cases[] = {
        {"link to a file", {{"lien.bd", "livre.bd"}}, "avant", "livre.bd"},
        {"link leading nowhere", {{"lien.bd", "livre.bd"}}, nullptr, "livre.bd"},
        {"link leading nowhere in a folder",
         {{"lien.bd", "rayon/livre.bd"}},
         nullptr,
         "rayon/livre.bd"},
        {"chain of links leading nowhere",
         {{"lien.bd", "relais.bd"}, {"relais.bd", "rayon/livre.bd"}},
         nullptr,
         "rayon/livre.bd"},
        {"link in a folder leading nowhere above it",
         {{"rayon/lien.bd", "../livre.bd"}},
         nullptr,
         "livre.bd"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        fs::create_directory(dir / "rayon");
        for (const auto &[name, leadsTo] : c.links)
            fs::create_symlink(leadsTo, dir / name);
        if (c.existing)
            WriteFile(dir / c.written, c.existing);

        platform::WriteFileAtomically(dir / c.links.front().first, "après");

        for (const auto &[name, leadsTo] : c.links)
            EXPECT_TRUE(fs::is_symlink(dir / name) && fs::read_symlink(dir / name) == leadsTo)
                << name;
        EXPECT_FALSE(fs::is_symlink(dir / c.written));
        EXPECT_EQ(ReadFile(dir / c.written), "après");
    }

    {
        TempDir dir;
        fs::create_directory(dir / "rayon");
        fs::create_symlink(dir / "rayon" / "livre.bd", dir / "lien.bd");
        platform::WriteFileAtomically(dir / "lien.bd", "après");
        EXPECT_EQ(fs::read_symlink(dir / "lien.bd"), dir / "rayon" / "livre.bd");
        EXPECT_EQ(ReadFile(dir / "rayon" / "livre.bd"), "après");
    }

    TempDir dir;
    fs::create_symlink("boucle.bd", dir / "lien.bd");
    fs::create_symlink("lien.bd", dir / "boucle.bd");
    EXPECT_THROW(platform::WriteFileAtomically(dir / "lien.bd", "après"), FileWriteError);
    EXPECT_TRUE(fs::is_symlink(dir / "lien.bd") && fs::is_symlink(dir / "boucle.bd"));
}

// Every name a folder may hold can be written, the longest too: the new version's name is
// never longer than the target's allows.
TEST(AtomicFileWriter, WritesNamesOfEveryLength)
{
    const struct {
        const char *name;
        std::string fileName;
    } cases[] = {
        {"247 bytes", std::string(244, 'a') + ".bd"},
        {"248 bytes", std::string(245, 'a') + ".bd"},
        {"255 bytes", std::string(252, 'a') + ".bd"},
        {"255 bytes of three-byte letters",
         [] {
             std::string letters;
             for (int i = 0; i < 85; ++i)
                 letters += "\u20ac";
             return letters;
         }()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path target = dir / c.fileName;
        for (const char *bytes : {"nouveau", "remplacé"}) {
            platform::WriteFileAtomically(target, bytes);
            EXPECT_EQ(ReadFile(target), bytes);
        }
        EXPECT_EQ(FileNamesIn(dir.path()), std::vector<std::string>{c.fileName});
    }
}

// Another program changes the file while its new version is written from it (here in the
// middle of the copy, through a descriptor of its own): only the file still as it was read is
// replaced; otherwise the file is left as the other program made it, and nothing else stays.
TEST(AtomicFileWriter, ReplacesOnlyTheVersionWhoseIdentityItWasGiven)
{
    const std::string before = "l'ancien livre";
    struct Case {
        const char *name;
        std::function<void(const fs::path &)> change;
        std::optional<std::string> left; // what the other program leaves; none: no file
    };
    const auto overwrite = [](const fs::path &path, off_t offset, const std::string &bytes) {
        const platform::FileDescriptor other(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
        ASSERT_EQ(::pwrite(other.get(), bytes.data(), bytes.size(), offset), ssize_t(bytes.size()));
    };
    const Case cases[] = {
        {"left alone", [](const fs::path &) {}, std::nullopt},
        {"renamed over",
         [](const fs::path &path) {
             WriteFile(path.string() + ".nouveau", "le nouveau livre");
             fs::rename(path.string() + ".nouveau", path);
         },
         "le nouveau livre"},
        {"rewritten in place, same size",
         [&](const fs::path &path) { overwrite(path, 0, "L'ANCIEN LIVRE"); }, "L'ANCIEN LIVRE"},
        {"appended to", [&](const fs::path &path) { overwrite(path, 14, ", suite"); },
         "l'ancien livre, suite"},
        {"truncated", [](const fs::path &path) { fs::resize_file(path, 8); }, "l'ancien"},
        {"removed", [](const fs::path &path) { fs::remove(path); }, std::nullopt},
        {"touched",
         [](const fs::path &path) { fs::last_write_time(path, fs::file_time_type::clock::now()); },
         before},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path target = dir / "livre.bd";
        WriteFile(target, before);
        // Written long ago, as a book usually is: any change gives it a later time, however
        // coarse the file system's clock.
        fs::last_write_time(target, fs::file_time_type::clock::now() - std::chrono::hours(24));
        const platform::FileDescriptor file(::open(target.c_str(), O_RDONLY | O_CLOEXEC));
        const bool alone = std::string(c.name) == "left alone";
        try {
            platform::AtomicFileWriter out(target, platform::IdentityOf(file.get()));
            out.copyFrom(file.get(), target, std::int64_t(before.size()),
                         [&](const void *, std::size_t) { c.change(target); });
            out.write(" relié", 7);
            out.commit();
            EXPECT_TRUE(alone) << "replaced";
        } catch (const FileChangedError &error) {
            EXPECT_FALSE(alone) << error.what();
            EXPECT_EQ(error.what(),
                      "Le fichier " + target.string() + " a été modifié pendant l'enregistrement.");
        }
        const std::optional<std::string> left = ReadFile(target);
        EXPECT_EQ(left, alone ? std::optional<std::string>(before + " relié") : c.left);
        EXPECT_EQ(FileNamesIn(dir.path()),
                  left ? std::vector<std::string>{"livre.bd"} : std::vector<std::string>{});
    }
}

TEST(AtomicFileWriter, FailuresNameTheFileAndLeaveNothing)
{
    TempDir dir;
    const fs::path target = dir / "livre.bd";
    WriteFile(target, "avant");
    WriteFile(dir / "court.jpg", "12345");
    const std::pair<const char *, fs::path> sources[] = {
        {"source shorter than said", dir / "court.jpg"},
        {"folder as source", dir.path()},
    };
    for (const auto &[name, source] : sources) {
        SCOPED_TRACE(name);
        const platform::FileDescriptor file(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
        try {
            platform::AtomicFileWriter out(target);
            out.copyFrom(file.get(), source, 6);
            out.commit();
            ADD_FAILURE() << "copied";
        } catch (const FileReadError &error) {
            EXPECT_EQ(error.what(), "Impossible de lire le fichier " + source.string() + ".");
        }
    }
    try {
        platform::WriteFileAtomically(dir / "absent" / "livre.bd", "x");
        ADD_FAILURE() << "written";
    } catch (const FileWriteError &error) {
        EXPECT_EQ(error.what(),
                  "Impossible d'écrire le fichier " + (dir / "absent" / "livre.bd").string() + ".");
    }
    EXPECT_EQ(ReadFile(target), "avant");
    EXPECT_EQ(FileNamesIn(dir.path()), (std::vector<std::string>{"court.jpg", "livre.bd"}));
}

} // namespace
