#include "fuzz/FuzzFolder.h"

#include "fuzz/Fuzz.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

class Folder {
public:
    Folder()
    {
        for (const std::filesystem::path &parent :
             {std::filesystem::path("/dev/shm"), std::filesystem::temp_directory_path()}) {
            std::string pattern = (parent / "quirelle-fuzz-XXXXXX").string();
            if (mkdtemp(pattern.data())) {
                path_ = pattern;
                return;
            }
        }
        FuzzFault("cannot create the fuzz folder");
    }
    ~Folder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;

    const std::filesystem::path &path() const { return path_; }

private:
    std::filesystem::path path_;
};

} // namespace

const std::filesystem::path &FuzzFolder()
{
    static const Folder folder;
    return folder.path();
}

void WriteFuzzFile(const std::filesystem::path &path, std::span<const std::uint8_t> bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file.write(reinterpret_cast<const char *>(bytes.data()),
                    static_cast<std::streamsize>(bytes.size())) ||
        !file.flush())
        FuzzFault("cannot write an input file");
}
