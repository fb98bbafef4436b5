#include "ChildProgram.h"
#include "HiveTestSupport.h"
#include "WorkingFolder.h"

#include "store/PackageStore.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// The shipped store and hive, as the runtime folder lays them out, in a fresh working folder.
struct ShippedLayout {
    testsupport::WorkingFolder folder;
    ShippedLayout()
    {
        fs::copy(testsupport::runtimeFolder() / "MorvaneRegistry.reg", folder.path() / "MorvaneRegistry.reg");
        fs::copy(testsupport::runtimeFolder() / "Morvane Package", folder.path() / "Morvane Package");
    }
};

} // namespace

TEST(SampleHive, HoldsEveryKeyThatTheShippedPackagesExport)
{
    ShippedLayout layout;
    PackageStore store;
    int rules = 0;
    for (const auto& entry : fs::directory_iterator(layout.folder.path() / "Morvane Package")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("package_", 0) != 0)
            continue;
        std::string keyPath;
        for (int i = 0; store.ReadRegistryRule(i, std::string(PackageStore::StoreFolder) + name, keyPath); ++i) {
            SCOPED_TRACE(name + ": " + keyPath);
            ++rules;
            std::string path = keyPath;
            std::string unused;
            EXPECT_TRUE(store.ReadRegistryValue(path, unused, false));

            ASSERT_EQ(testsupport::runChildProgram(testsupport::runtimeFolder() / "MorvaneRegExport", {"/e", "/s", "out.reg", keyPath}), 0);
            const registry::Hive exported = registry::Hive::parse(layout.folder.read("out.reg"));
            const registry::Hive::Key key = registrytest::keyAt(exported, keyPath);
            ASSERT_NE(key, registry::Hive::noKey);
            EXPECT_FALSE(exported.values(key).empty());
            EXPECT_FALSE(exported.subkeys(key).empty());
        }
    }
    EXPECT_GT(rules, 0);
}

TEST(SampleHive, HoldsAMachineIdAndTheFallbackId)
{
    ShippedLayout layout;
    PackageStore store;
    const std::pair<const char*, const char*> cases[] = {
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane\\Machine\\Id", "WS-0042"},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Zarvot\\Projects\\Tarvil800Q\\MACHINE\\Id", "TQ-800-17"},
    };
    for (const auto& [valuePath, id] : cases) {
        SCOPED_TRACE(valuePath);
        std::string path = valuePath;
        std::string value;
        EXPECT_TRUE(store.ReadRegistryValue(path, value, true));
        EXPECT_EQ(value, id);
    }
}
