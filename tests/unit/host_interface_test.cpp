// tests/unit/host_interface_test.cpp
// The wrappers of the host's entries 24 to 31: the identifier they pass,
// the argument order, and what they do before the host has given them
// anything to call.
#include "module.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

struct Call {
    int entry;
    uint32_t identifier;
    int32_t argument;
};
std::vector<Call> g_calls;

template <int ENTRY> int32_t HOST_STDCALL WithId(uint32_t identifier) {
    g_calls.push_back({ENTRY, identifier, 0});
    return ENTRY * 100;
}
template <int ENTRY> int32_t HOST_STDCALL WithIdArg(uint32_t identifier, int32_t argument) {
    g_calls.push_back({ENTRY, identifier, argument});
    return ENTRY * 100 + 1;
}

struct Wrappers : ::testing::Test {
    void* table[64] = {};
    uint32_t identifier = 0xC0FFEE;
    HostModuleRecord record = {{0, 0}, &identifier};
    void SetUp() override {
        g_calls.clear();
        table[24] = reinterpret_cast<void*>(WithId<24>);
        table[25] = reinterpret_cast<void*>(WithIdArg<25>);
        table[26] = reinterpret_cast<void*>(WithId<26>);
        table[27] = reinterpret_cast<void*>(WithId<27>);
        table[28] = reinterpret_cast<void*>(WithIdArg<28>);
        table[29] = reinterpret_cast<void*>(WithId<29>);
        table[31] = reinterpret_cast<void*>(WithId<31>);
    }
    void TearDown() override {
        ImportTable[0].functionTable = nullptr;
        Linkage.moduleRecord = nullptr;
    }
    std::vector<int32_t> CallAll() {
        return {Host_CallEntry24(),   Host_CallEntry25(-7), Host_CallEntry26(), Host_CallEntry27(),
                Host_CallEntry28(42), Host_CallEntry29(),   Host_CallEntry31()};
    }
};

TEST_F(Wrappers, PassTheHostsIdentifierAndTheirArgument) {
    ImportTable[0].functionTable = table;
    Linkage.moduleRecord = &record;
    const std::vector<int32_t> expect = {2400, 2501, 2600, 2700, 2801, 2900, 3100};
    EXPECT_EQ(CallAll(), expect);
    ASSERT_EQ(g_calls.size(), 7u);
    for (const Call& call : g_calls)
        EXPECT_EQ(call.identifier, 0xC0FFEEu) << call.entry;
    EXPECT_EQ(g_calls[1].argument, -7);
    EXPECT_EQ(g_calls[4].argument, 42);
}

TEST_F(Wrappers, CallNothingWithoutTheLinkageRecordOrTheTable) {
    ImportTable[0].functionTable = table; // the record is never set by the module
    EXPECT_EQ(CallAll(), std::vector<int32_t>(7, 0));
    ImportTable[0].functionTable = nullptr;
    Linkage.moduleRecord = &record;
    EXPECT_EQ(CallAll(), std::vector<int32_t>(7, 0));
    EXPECT_TRUE(g_calls.empty());
}

TEST(HostRecords, ExportedRecordsStartAsTheHostExpects) {
    EXPECT_EQ(ImportTable[0].id, 0x0Fu);
    EXPECT_EQ(ImportTable[1].id, 0u);
    EXPECT_EQ(ImportTable[1].functionTable, nullptr);
    EXPECT_EQ(Linkage.version, 0x13u);
    ASSERT_NE(Linkage.initialise, nullptr);
    ASSERT_NE(Linkage.deinitialise, nullptr);
    Linkage.initialise(); // both do nothing, and must be callable
    Linkage.deinitialise();
    for (uintptr_t word : Linkage.reserved)
        EXPECT_EQ(word, 0u);
    EXPECT_EQ(Linkage.moduleRecord, nullptr);
}

TEST(HostRecords, RefreshWithoutATableLeavesTheVariableAlone) {
    ImportTable[0].functionTable = nullptr;
    HostVariable v = {};
    v.tokenId = 0x47;
    v.value = 12.5;
    EXPECT_EQ(Host_RefreshVariable(&v), 0);
    const double value = v.value; // packed: no reference to the field itself
    EXPECT_EQ(value, 12.5);
}

} // namespace
