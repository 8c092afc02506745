#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A fresh directory for one test's files, removed with its contents on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &path() const { return path_; }
    std::filesystem::path operator/(const std::string &name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// The names of the entries of a folder, sorted.
std::vector<std::string> FileNamesIn(const std::filesystem::path &folder);
