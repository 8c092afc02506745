#include "platform/Registry.h"

#include "platform/RegistryStore.h"

namespace platform {

namespace {

std::string joinKeyPath(const std::vector<std::string> &names)
{
    std::string path;
    for (const std::string &name : names) {
        if (!path.empty())
            path += '\\';
        path += name;
    }
    return path;
}

[[noreturn]] void failWrongType(std::string_view name)
{
    throw RegistryError("Type incorrect pour la valeur de registre \"" + std::string(name) + "\".");
}

std::string fullName(Hive hive, const std::string &path)
{
    return path.empty() ? hiveName(hive) : std::string(hiveName(hive)) + '\\' + path;
}

// ValueType follows the order of RegistryData's alternatives.
ValueType typeOf(const RegistryData &data)
{
    return static_cast<ValueType>(data.index());
}

template <typename T>
std::optional<T> readAs(Hive hive, const std::vector<std::string> &names, std::string_view name)
{
    RegistryTree tree = readRegistry();
    const RegistryNode *key = tree.find(hive, names);
    const RegistryValue *value = key ? key->value(name) : nullptr;
    if (!value)
        return std::nullopt;
    const T *data = std::get_if<T>(&value->data);
    if (!data)
        failWrongType(name);
    return *data;
}

void writeValue(const RegistryKey &key, std::string_view name, RegistryData data)
{
    const std::vector<std::string> names = splitKeyPath(key.path());
    changeRegistry([&](RegistryTree &tree) {
        RegistryNode *node = tree.find(key.hive(), names);
        if (!node)
            throw RegistryError("La clé de registre " + fullName(key.hive(), key.path()) +
                                " n'existe plus.");
        node->set(name, std::move(data));
        return true;
    });
}

} // namespace

RegistryKey::RegistryKey(Hive hive, std::vector<std::string> names)
    : hive_(hive), names_(std::move(names)), path_(joinKeyPath(names_))
{
}

std::unique_ptr<RegistryKey> RegistryKey::open(Hive hive, std::string_view path, bool create)
{
    std::vector<std::string> names = splitKeyPath(path);
    if (create) {
        changeRegistry([&](RegistryTree &tree) {
            if (tree.find(hive, names))
                return false;
            tree.create(hive, names);
            return true;
        });
    } else if (!readRegistry().find(hive, names)) {
        return nullptr;
    }
    return std::unique_ptr<RegistryKey>(new RegistryKey(hive, std::move(names)));
}

bool RegistryKey::exists(Hive hive, std::string_view path)
{
    return readRegistry().find(hive, splitKeyPath(path)) != nullptr;
}

void RegistryKey::deleteTree(Hive hive, std::string_view path)
{
    const std::vector<std::string> names = splitKeyPath(path);
    changeRegistry([&](RegistryTree &tree) {
        if (names.empty()) {
            RegistryNode &root = tree.hives.at(hive);
            const bool changed = !root.empty();
            root = {};
            return changed;
        }
        RegistryNode *parent = tree.find(hive, {names.begin(), names.end() - 1});
        return parent && parent->subKeys.erase(names.back()) > 0;
    });
}

bool RegistryKey::deleteKey(Hive hive, std::string_view path)
{
    const std::vector<std::string> names = splitKeyPath(path);
    bool deleted = false;
    changeRegistry([&](RegistryTree &tree) {
        if (names.empty())
            return false;
        RegistryNode *parent = tree.find(hive, {names.begin(), names.end() - 1});
        RegistryNode *key = parent ? parent->child(names.back()) : nullptr;
        if (!key || !key->subKeys.empty())
            return false;
        parent->subKeys.erase(names.back());
        deleted = true;
        return true;
    });
    return deleted;
}

std::optional<ValueType> RegistryKey::valueType(std::string_view name) const
{
    RegistryTree tree = readRegistry();
    const RegistryNode *key = tree.find(hive_, names_);
    const RegistryValue *value = key ? key->value(name) : nullptr;
    return value ? std::optional(typeOf(value->data)) : std::nullopt;
}

std::optional<std::string> RegistryKey::readString(std::string_view name) const
{
    return readAs<std::string>(hive_, names_, name);
}

std::optional<int32_t> RegistryKey::readInteger(std::string_view name) const
{
    return readAs<int32_t>(hive_, names_, name);
}

std::optional<std::vector<std::string>> RegistryKey::readMultiString(std::string_view name) const
{
    const std::optional<std::string> data = readMultiStringData(name);
    return data ? std::optional(SplitMultiSz(*data)) : std::nullopt;
}

std::optional<std::string> RegistryKey::readMultiStringData(std::string_view name) const
{
    const std::optional<MultiStringData> data = readAs<MultiStringData>(hive_, names_, name);
    return data ? std::optional(data->bytes) : std::nullopt;
}

void RegistryKey::writeString(std::string_view name, std::string_view value)
{
    writeValue(*this, name, std::string(value));
}

void RegistryKey::writeInteger(std::string_view name, int32_t value)
{
    writeValue(*this, name, value);
}

void RegistryKey::writeMultiString(std::string_view name, const std::vector<std::string> &values)
{
    writeValue(*this, name, MultiStringData{JoinMultiSz(values)});
}

void RegistryKey::writeMultiStringData(std::string_view name, std::string_view data)
{
    writeValue(*this, name, MultiStringData{std::string(data)});
}

bool RegistryKey::deleteValue(std::string_view name)
{
    bool deleted = false;
    changeRegistry([&](RegistryTree &tree) {
        RegistryNode *key = tree.find(hive_, names_);
        const RegistryValue *value = key ? key->value(name) : nullptr;
        if (!value)
            return false;
        key->values.erase(key->values.begin() + (value - key->values.data()));
        deleted = true;
        return true;
    });
    return deleted;
}

std::vector<std::string> RegistryKey::subKeyNames() const
{
    std::vector<std::string> names;
    RegistryTree tree = readRegistry();
    if (const RegistryNode *key = tree.find(hive_, names_))
        for (const auto &entry : key->subKeys)
            names.push_back(entry.first);
    return names;
}

std::vector<std::string> RegistryKey::valueNames() const
{
    std::vector<std::string> names;
    RegistryTree tree = readRegistry();
    if (const RegistryNode *key = tree.find(hive_, names_))
        for (const RegistryValue &value : key->values)
            names.push_back(value.name);
    return names;
}

} // namespace platform
