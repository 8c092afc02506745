#include "platform/DelayedDelete.h"

#include "platform/RegistryStore.h"

#include <functional>

namespace platform {

namespace {

std::string deletionSource(const std::filesystem::path &file)
{
    return "\\??\\" + file.string();
}

// Runs `change` on the strings of the pending operations, in one change of the registry, and
// saves them when it returns true; `create` makes the key and the value when missing. False
// when the value is missing (without `create`) or of another type.
bool changePendingOperations(bool create,
                             const std::function<bool(std::vector<std::string> &)> &change)
{
    bool changed = false;
    changeRegistry([&](RegistryTree &tree) {
        const std::vector<std::string> path = splitKeyPath(SessionManagerKey);
        RegistryNode *key =
            create ? &tree.create(Hive::LocalMachine, path) : tree.find(Hive::LocalMachine, path);
        const RegistryValue *value = key ? key->value(PendingFileRenameOperations) : nullptr;
        std::vector<std::string> strings;
        if (value) {
            const auto *data = std::get_if<MultiStringData>(&value->data);
            if (!data)
                return false;
            strings = SplitMultiSz(data->bytes);
        } else if (!create) {
            return false;
        }
        if (!change(strings))
            return false;
        key->set(PendingFileRenameOperations, MultiStringData{JoinMultiSz(strings)});
        changed = true;
        return true;
    });
    return changed;
}

} // namespace

bool ScheduleDeleteAtReboot(const std::filesystem::path &file)
{
    return changePendingOperations(true, [&](std::vector<std::string> &pairs) {
        if (pairs.size() % 2 != 0)
            pairs.emplace_back();
        pairs.push_back(deletionSource(file));
        pairs.emplace_back();
        return true;
    });
}

bool CancelDeleteAtReboot(const std::filesystem::path &file)
{
    const std::string source = deletionSource(file);
    return changePendingOperations(false, [&](std::vector<std::string> &pairs) {
        std::vector<std::string> kept;
        for (size_t i = 0; i < pairs.size(); i += 2) {
            const bool hasTarget = i + 1 < pairs.size();
            if (pairs[i] == source && (!hasTarget || pairs[i + 1].empty()))
                continue;
            kept.push_back(std::move(pairs[i]));
            if (hasTarget)
                kept.push_back(std::move(pairs[i + 1]));
        }
        const bool removed = kept.size() != pairs.size();
        pairs = std::move(kept);
        return removed;
    });
}

} // namespace platform
