#include "platform/PlatformProfile.h"

#include "platform/AtomicWrite.h"
#include "platform/PlatformRoot.h"

#include <fstream>
#include <regex>
#include <string>

namespace platform {

namespace {

std::filesystem::path profilePath()
{
    return PlatformRoot() / "profile.txt";
}

[[noreturn]] void failDamaged(const std::filesystem::path &file)
{
    throw PlatformProfileError("Le profil de la plate-forme est endommagé : " + file.string() +
                               ".");
}

} // namespace

PlatformProfile CurrentPlatformProfile()
{
    const std::filesystem::path file = profilePath();
    std::ifstream in(file);
    if (!in)
        return {};
    std::string line;
    std::getline(in, line);
    static const std::regex format(R"(\s*(NT|9x)\s+(\d{1,3})\.(\d{1,3})\s*)");
    std::smatch match;
    if (!std::regex_match(line, match, format))
        failDamaged(file);
    return {match[1] == "NT" ? WindowsFamily::NT : WindowsFamily::Windows9x, std::stoi(match[2]),
            std::stoi(match[3])};
}

void SetPlatformProfile(const PlatformProfile &profile)
{
    const std::filesystem::path file = profilePath();
    try {
        WriteFileAtomically(file, (profile.isNT() ? "NT " : "9x ") +
                                      std::to_string(profile.majorVersion) + '.' +
                                      std::to_string(profile.minorVersion) + '\n');
    } catch (const FileWriteError &) {
        throw PlatformProfileError(
            "Impossible d'enregistrer le profil de la plate-forme : " + file.string() + ".");
    }
}

} // namespace platform
