#pragma once

#include "app/text/UserError.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The registry: keys and values in three hives, kept in one text file under PlatformRoot()
// that several processes may share. Key paths use backslashes ("Software\Quirelle"); key and
// value names match whatever their ASCII case and keep the case they were first written with.
// The value named "" is a key's default value.
//
//   auto key = platform::RegistryKey::open(platform::Hive::CurrentUser, "Software\\Quirelle",
//   true); key->writeInteger("Zoom", 2); std::optional<int32_t> zoom = key->readInteger("Zoom");
//
// Every call reads the file afresh under a shared lock; every change is made under an
// exclusive lock and saved atomically, so no writer loses another's changes. Failures (a
// damaged file, a file that cannot be saved, a value of another type, a write to a key that
// was deleted) raise RegistryError with a message in French; a damaged file raises its kind
// RegistryDamagedError.

enum class Hive { ClassesRoot, CurrentUser, LocalMachine };

enum class ValueType { String, Integer, MultiString };

class RegistryError : public UserError {
public:
    using UserError::UserError;
};

// The registry file holds text that is not a registry (see parseRegistry in RegistryTree.h).
class RegistryDamagedError : public RegistryError {
public:
    using RegistryError::RegistryError;
};

class RegistryKey {
public:
    // The key hive\path. With `create` the key and its missing parents are made; without it
    // a missing key gives nullptr.
    static std::unique_ptr<RegistryKey> open(Hive hive, std::string_view path, bool create);
    static bool exists(Hive hive, std::string_view path);
    // Deletes the key with all its subkeys and values; a missing key is no failure.
    static void deleteTree(Hive hive, std::string_view path);
    // Deletes the key and its values, but only when it has no subkeys. True when deleted.
    static bool deleteKey(Hive hive, std::string_view path);

    RegistryKey(const RegistryKey &) = delete;
    RegistryKey &operator=(const RegistryKey &) = delete;
    ~RegistryKey() = default; // closing the key holds no resource

    Hive hive() const { return hive_; }
    // The path with single backslashes and no leading or trailing one.
    const std::string &path() const { return path_; }

    // A missing value gives nothing; a value of another type raises RegistryError.
    std::optional<std::string> readString(std::string_view name) const;
    std::optional<int32_t> readInteger(std::string_view name) const;
    std::optional<std::vector<std::string>> readMultiString(std::string_view name) const;
    // A multi-string value's data as stored (see MultiStringData in RegistryTree.h).
    std::optional<std::string> readMultiStringData(std::string_view name) const;
    // The type of a value, nothing when it is missing.
    std::optional<ValueType> valueType(std::string_view name) const;
    bool hasValue(std::string_view name) const { return valueType(name).has_value(); }

    // Writing replaces the value and its type; a new value goes after the existing ones.
    void writeString(std::string_view name, std::string_view value);
    void writeInteger(std::string_view name, int32_t value);
    // A string holding a zero byte raises RegistryError.
    void writeMultiString(std::string_view name, const std::vector<std::string> &values);
    void writeMultiStringData(std::string_view name, std::string_view data);
    // True when the value existed.
    bool deleteValue(std::string_view name);

    // Subkey names sorted case-insensitively; value names in the order they were written.
    // Both are empty once the key has been deleted.
    std::vector<std::string> subKeyNames() const;
    std::vector<std::string> valueNames() const;

private:
    RegistryKey(Hive hive, std::vector<std::string> names);

    Hive hive_;
    std::vector<std::string> names_;
    std::string path_;
};

// "HKEY_CURRENT_USER" and so on.
const char *hiveName(Hive hive);

} // namespace platform
