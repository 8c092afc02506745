#pragma once

#include "platform/Registry.h"

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace platform {

// ASCII case-insensitive ordering: key and value names match whatever their case.
struct CaseInsensitiveLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// A multi-string value's data as stored: each string followed by a zero byte, then one more
// zero byte (no byte at all for no string). Data that another program wrote may lack the
// final zero bytes; it is kept as it is.
struct MultiStringData {
    std::string bytes;
    bool operator==(const MultiStringData &) const = default;
};

// The strings of multi-string data, in order, empty ones included. A missing final zero
// byte, or a last string without its own, loses nothing: "a\0b" and "a\0b\0" hold "a" and "b"
// as "a\0b\0\0" does.
std::vector<std::string> SplitMultiSz(std::string_view data);
// The data of `strings`; a string holding a zero byte raises RegistryError.
std::string JoinMultiSz(const std::vector<std::string> &strings);

using RegistryData = std::variant<std::string, int32_t, MultiStringData>;

struct RegistryValue {
    std::string name; // as written; "" is the key's default value
    RegistryData data;
};

// One key in memory: values in the order they were first written, subkeys by name.
struct RegistryNode {
    std::vector<RegistryValue> values;
    std::map<std::string, RegistryNode, CaseInsensitiveLess> subKeys;

    const RegistryNode *child(std::string_view name) const;
    RegistryNode *child(std::string_view name);
    const RegistryValue *value(std::string_view name) const;
    RegistryValue *value(std::string_view name);
    // Replaces the value's data, or adds the value after the others.
    void set(std::string_view name, RegistryData data);
    bool empty() const { return values.empty() && subKeys.empty(); }
};

// The whole registry: one node per hive.
struct RegistryTree {
    std::map<Hive, RegistryNode> hives{
        {Hive::ClassesRoot, {}}, {Hive::CurrentUser, {}}, {Hive::LocalMachine, {}}};

    // The key at `path` (names without separators), or nullptr when it does not exist.
    const RegistryNode *find(Hive hive, const std::vector<std::string> &path) const;
    RegistryNode *find(Hive hive, const std::vector<std::string> &path);
    // The key at `path`, created with its missing parents; existing names keep their case.
    RegistryNode &create(Hive hive, const std::vector<std::string> &path);
};

// Splits "Software\Quirelle" into its names; leading, trailing and doubled backslashes are
// ignored, so "" and "\" name the hive itself.
std::vector<std::string> splitKeyPath(std::string_view path);

// The text form of the registry file, one line each:
//   ; comment                              (and blank lines, ignored)
//   [HKEY_CURRENT_USER\Software\Quirelle]  a key; its names escape control bytes and '%' as %XX
//   "Zoom"=int:2                           a 32-bit integer in decimal
//   "Agrandissement"="Max"                 a string
//   @="Quirelle"                           the key's default value
//   "Pending"=multi:"a","",""              a multi-string, possibly with no strings at all
//   "Pending"=multi-data:"a\x00b"          multi-string data that lacks its final zero bytes
// Quoted text escapes \" \\ \n \r \t and other control bytes as \xHH; other bytes stay as
// they are. A key appears when it holds values or has no subkeys; its parents are implied.
// `parseRegistry` throws RegistryDamagedError naming `origin` and the line when the text cannot
// be read.
std::string formatRegistry(const RegistryTree &tree);
RegistryTree parseRegistry(std::string_view text, const std::filesystem::path &origin);

} // namespace platform
