#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/res/resource_table.h"
#include "platform/res/resources.h"

using namespace platform;

namespace {

std::vector<uint8_t> ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

bool IdAfter(const std::string& stem, const std::string& prefix, uint32_t& id) {
    if (stem.rfind(prefix, 0) != 0 || stem.size() == prefix.size())
        return false;
    for (char c : stem.substr(prefix.size()))
        if (c < '0' || c > '9')
            return false;
    id = uint32_t(std::stoul(stem.substr(prefix.size())));
    return true;
}

}  // namespace

// Faults: a file of res/ missing from the executable, or embedded with other bytes.
TEST(EmbeddedResources, EveryFileOfResIsFoundWithItsBytes) {
    int checked = 0;
    for (const auto& f : std::filesystem::directory_iterator(VORLA_RES_DIR)) {
        const std::string stem = f.path().stem().string();
        const std::string ext = f.path().extension().string();
        ResourceData data;
        uint32_t id = 0;
        if (ext == ".bmp") {
            ASSERT_TRUE(
                FindResourceData(ExecutableInstance(), stem.c_str(), ResourceType::Bitmap, data))
                << stem;
        } else if (ext == ".ico" && IdAfter(stem, "icon", id)) {
            ASSERT_TRUE(FindResourceData(ExecutableInstance(), MAKEINTRESOURCE(id),
                                         ResourceType::Icon, data))
                << stem;
        } else if (ext == ".cur" && IdAfter(stem, "cursor", id)) {
            ASSERT_TRUE(FindResourceData(ExecutableInstance(), MAKEINTRESOURCE(id),
                                         ResourceType::Cursor, data))
                << stem;
        } else {
            continue;
        }
        const std::vector<uint8_t> bytes = ReadFile(f.path());
        ASSERT_EQ(data.size, bytes.size()) << stem;
        EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), data.bytes)) << stem;
        ++checked;
    }
    RecordProperty("checked", checked);
}

// Faults: a lookup that answers for the system's module (null), for the wrong type, or
// for a name that isn't there.
TEST(EmbeddedResources, MissesAreReported) {
    ResourceData data;
    EXPECT_FALSE(FindResourceData(nullptr, "IDB_PLOCHA", ResourceType::Bitmap, data));
    EXPECT_FALSE(FindResourceData(ExecutableInstance(), "IDB_NOSUCH", ResourceType::Bitmap, data));
    EXPECT_FALSE(FindResourceData(ExecutableInstance(), "IDB_PLOCHA", ResourceType::Icon, data));
    EXPECT_FALSE(FindResourceData(ExecutableInstance(), nullptr, ResourceType::Bitmap, data));
    EXPECT_NE(ExecutableInstance(), nullptr);
}

// Faults: names compared with case, an id matched by a name that spells the number, the
// "#128" form not understood, a malformed "#" form matching something.
TEST(ResourceLookup, NamesAndIds) {
    static const uint8_t a[] = {1}, b[] = {2}, c[] = {3};
    const EmbeddedResource table[] = {
        {ResourceType::Bitmap, "IDB_PLOCHA", 0, a, 1},
        {ResourceType::Icon, nullptr, 128, b, 1},
        {ResourceType::Icon, "128", 0, c, 1},
    };
    EXPECT_EQ(FindInTable(table, 3, "idb_Plocha", ResourceType::Bitmap), &table[0]);
    EXPECT_EQ(FindInTable(table, 3, MAKEINTRESOURCE(128), ResourceType::Icon), &table[1]);
    EXPECT_EQ(FindInTable(table, 3, "#128", ResourceType::Icon), &table[1]);
    EXPECT_EQ(FindInTable(table, 3, "128", ResourceType::Icon), &table[2]);
    EXPECT_EQ(FindInTable(table, 3, "#12x", ResourceType::Icon), nullptr);
    EXPECT_EQ(FindInTable(table, 3, "#", ResourceType::Icon), nullptr);
    EXPECT_EQ(FindInTable(table, 3, MAKEINTRESOURCE(129), ResourceType::Icon), nullptr);
    EXPECT_EQ(FindInTable(table, 0, "IDB_PLOCHA", ResourceType::Bitmap), nullptr);
}

// Faults: a name taken for an id because of where it lies (WebAssembly keeps string
// literals a few KiB from address 0, where a "below 64 KiB" test calls them ids), a name
// found only by id, or an id that loses its number on the way.
TEST(ResourceLookup, NamesAtLowAddressesStayNamesAndIdsKeepTheirNumber) {
    EXPECT_FALSE(IS_INTRESOURCE(reinterpret_cast<LPCSTR>(uintptr_t(0x400))));
    EXPECT_FALSE(IS_INTRESOURCE(reinterpret_cast<LPCSTR>(uintptr_t(0xFFFF))));
    EXPECT_FALSE(IS_INTRESOURCE("IDB_PLOCHA"));
    for (WORD id : {WORD(0), WORD(1), WORD(128), WORD(32512), WORD(0xFFFF)}) {
        ASSERT_TRUE(IS_INTRESOURCE(MAKEINTRESOURCE(id))) << id;
        EXPECT_EQ(ResourceIdOf(MAKEINTRESOURCE(id)), id);
    }
    ResourceData data;
    EXPECT_TRUE(FindResourceData(ExecutableInstance(), "IDB_PLOCHA", ResourceType::Bitmap, data));
    EXPECT_TRUE(
        FindResourceData(ExecutableInstance(), MAKEINTRESOURCE(128), ResourceType::Icon, data));
}
