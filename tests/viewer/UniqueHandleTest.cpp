// The one owner type for handles: every handle is closed exactly once,
// whatever moves, resets and releases happen to it.
#include "viewer/UniqueHandle.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <vector>

namespace corvelle {
namespace {

// Handles are integers, -1 means "none"; every close is recorded.
std::vector<int>& Closed() {
    static std::vector<int> closed;
    return closed;
}

struct FakeTraits {
    using Handle = int;
    static Handle Invalid() { return -1; }
    static void Close(Handle handle) { Closed().push_back(handle); }
};

using FakeHandle = UniqueHandle<FakeTraits>;

struct OwnershipRow {
    const char* name;
    std::function<void()> scenario;
    std::vector<int> closed;  // handles closed when the scenario's owners are gone, in order
};

const OwnershipRow kOwnershipRows[] = {
    {"ClosedAtEndOfScope", [] { FakeHandle a(1); }, {1}},
    {"EmptyClosesNothing", [] { FakeHandle a; }, {}},
    {"MoveConstructClosesOnce", [] { FakeHandle a(1); FakeHandle b(std::move(a)); }, {1}},
    {"MoveAssignClosesTheOldTarget",
     [] {
         FakeHandle a(1);
         FakeHandle b(2);
         b = std::move(a);
         EXPECT_EQ(b.Get(), 1);
         EXPECT_FALSE(a.IsValid());
     },
     {2, 1}},
    {"SelfMoveKeepsTheHandle",
     [] {
         FakeHandle a(3);
         FakeHandle& alias = a;
         a = std::move(alias);
         EXPECT_EQ(a.Get(), 3);
     },
     {3}},
    {"ResetClosesTheOldOne",
     [] {
         FakeHandle a(1);
         a.Reset(2);
         EXPECT_EQ(Closed(), std::vector<int>{1});
     },
     {1, 2}},
    {"ResetToTheSameHandleKeepsIt", [] { FakeHandle a(4); a.Reset(4); }, {4}},
    {"ResetToNothing",
     [] {
         FakeHandle a(5);
         a.Reset();
         EXPECT_FALSE(a);
     },
     {5}},
    {"ReleaseGivesUpOwnership",
     [] {
         FakeHandle a(6);
         EXPECT_EQ(a.Release(), 6);
         EXPECT_FALSE(a.IsValid());
     },
     {}},
    {"ZeroIsAValidHandle", [] { FakeHandle a(0); EXPECT_TRUE(a); }, {0}},
};

class UniqueHandleTest : public testing::TestWithParam<OwnershipRow> {};

TEST_P(UniqueHandleTest, ClosesEachHandleOnce) {
    Closed().clear();
    GetParam().scenario();
    EXPECT_EQ(Closed(), GetParam().closed);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, UniqueHandleTest, testing::ValuesIn(kOwnershipRows),
                         [](const testing::TestParamInfo<OwnershipRow>& info) {
                             return info.param.name;
                         });

static_assert(!std::is_copy_constructible<FakeHandle>::value, "owners are not copied");
static_assert(!std::is_copy_assignable<FakeHandle>::value, "owners are not copied");
static_assert(std::is_nothrow_move_constructible<FakeHandle>::value, "moves cannot fail");

}  // namespace
}  // namespace corvelle
