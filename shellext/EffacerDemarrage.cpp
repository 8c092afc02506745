#include "shellext/EffacerDemarrage.h"

#include "platform/AtomicWrite.h"
#include "platform/DelayedDelete.h"
#include "platform/PlatformProfile.h"
#include "platform/RegistryTree.h"
#include "platform/SystemServices.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace shellext {

namespace {

using Lines = std::vector<std::string>;

constexpr char RenameSection[] = "[rename]";

bool usesWininit()
{
    return platform::CurrentPlatformProfile().majorVersion < 5;
}

std::filesystem::path wininitPath()
{
    return platform::WindowsDirectory() / "Wininit.ini";
}

// The lines of Wininit.ini, ended by CR LF, CR or LF; none when the file does not exist.
Lines readWininit()
{
    std::ifstream in(wininitPath(), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Lines lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

void writeWininit(const Lines &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += line + "\r\n";
    platform::WriteFileAtomically(wininitPath(), text);
}

// The short path is the path itself here; file names compare exactly.
bool isRequestFor(const std::string &line, const std::filesystem::path &file)
{
    return line.size() > 4 && platform::equalsIgnoringCase(line.substr(0, 4), "NUL=") &&
           line.substr(4) == file.string();
}

bool isSectionStart(const std::string &line)
{
    return line.starts_with('[') && line.ends_with(']');
}

Lines::iterator findRenameSection(Lines &lines)
{
    return std::find_if(lines.begin(), lines.end(), [](const std::string &line) {
        return platform::equalsIgnoringCase(line, RenameSection);
    });
}

void scheduleInWininit(const std::filesystem::path &file)
{
    Lines lines = readWininit();
    const std::string request = "NUL=" + file.string();
    const auto section = findRenameSection(lines);
    if (section == lines.end()) {
        lines.push_back(RenameSection);
        lines.push_back(request);
    } else {
        lines.insert(section + 1, request);
    }
    writeWininit(lines);
}

void cancelInWininit(const std::filesystem::path &file)
{
    Lines lines = readWininit();
    const auto section = findRenameSection(lines);
    if (section == lines.end())
        return;
    const auto end = std::find_if(section + 1, lines.end(), isSectionStart);
    lines.erase(std::remove_if(section + 1, end,
                               [&](const std::string &line) { return isRequestFor(line, file); }),
                end);
    if (lines.size() == 1 && platform::equalsIgnoringCase(lines[0], RenameSection)) {
        std::error_code ignored;
        std::filesystem::remove(wininitPath(), ignored);
    } else {
        writeWininit(lines);
    }
}

// Runs a request, which reports nothing: a file that is gone needs none, and one that cannot
// be written leaves things as they were.
template <typename Request> void request(const std::filesystem::path &file, Request &&run)
{
    std::error_code unknown;
    if (!std::filesystem::exists(file, unknown))
        return;
    try {
        run();
    } catch (const UserError &) {
    }
}

} // namespace

void ScheduleDeleteAtRestart(const std::filesystem::path &file)
{
    request(file, [&] {
        if (usesWininit())
            scheduleInWininit(file);
        else
            platform::ScheduleDeleteAtReboot(file);
    });
}

void CancelDeleteAtRestart(const std::filesystem::path &file)
{
    request(file, [&] {
        if (usesWininit())
            cancelInWininit(file);
        else
            platform::CancelDeleteAtReboot(file);
    });
}

} // namespace shellext
