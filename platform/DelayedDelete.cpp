#include "platform/DelayedDelete.h"

#include "platform/RegistryStore.h"

namespace platform {

bool ScheduleDeleteAtReboot(const std::filesystem::path &file)
{
    bool scheduled = false;
    changeRegistry([&](RegistryTree &tree) {
        RegistryNode &key = tree.create(Hive::LocalMachine, splitKeyPath(SessionManagerKey));
        std::vector<std::string> pairs;
        if (const RegistryValue *existing = key.value(PendingFileRenameOperations)) {
            const auto *strings = std::get_if<std::vector<std::string>>(&existing->data);
            if (!strings)
                return false;
            pairs = *strings;
        }
        pairs.push_back("\\??\\" + file.string());
        pairs.emplace_back();
        key.set(PendingFileRenameOperations, std::move(pairs));
        scheduled = true;
        return true;
    });
    return scheduled;
}

} // namespace platform
