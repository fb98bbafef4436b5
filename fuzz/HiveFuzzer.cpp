// Feeds arbitrary bytes to the hive reader. Whatever it makes of them, each root's export must
// read back as the same tree, with nothing under the other roots.
#include "registry/Hive.h"
#include "registry/HiveExport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using registry::Hive;
    const Hive hive = Hive::parse(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const RegistryRoot& root : registryRoots) {
        const Hive exported = Hive::parse(registry::exportKey(hive, hive.root(root.handle)));
        for (const RegistryRoot& other : registryRoots) {
            const Hive::Key key = exported.root(other.handle);
            const bool same = other.handle == root.handle
                                  ? hive.sameTree(hive.root(root.handle), exported, key)
                                  : exported.subkeys(key).empty() && exported.values(key).empty();
            if (!same)
                std::abort();
        }
    }
    return 0;
}
