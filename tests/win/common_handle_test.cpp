// The one handle owner: releases exactly once, hands ownership on when moved, and reports a
// failed release (saving and printing rely on that).
#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

#include "common/handle_win.h"

namespace pagelark {
namespace {

static_assert(!std::is_copy_constructible_v<KernelHandle> && !std::is_copy_assignable_v<KernelHandle>);
static_assert(std::is_nothrow_move_constructible_v<KernelHandle> && std::is_nothrow_move_assignable_v<KernelHandle>);

bool IsOpen(HANDLE handle) {
    DWORD flags = 0;
    return GetHandleInformation(handle, &flags) != FALSE;
}

int releases = 0;
bool CountRelease(int*) {
    ++releases;
    return true;
}
bool FailRelease(int*) { return false; }

TEST(CommonHandle, ClosesAKernelObjectOnceWhenItGoesOutOfScope) {
    HANDLE raw = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(raw);
    {
        KernelHandle event(raw);
        EXPECT_TRUE(event);
        EXPECT_TRUE(IsOpen(raw));
    }
    EXPECT_FALSE(IsOpen(raw));
}

TEST(CommonHandle, MovingHandsOwnershipOnAndLeavesTheSourceEmpty) {
    int object = 0;
    releases = 0;
    {
        UniqueHandle<int*, CountRelease> first(&object);
        UniqueHandle<int*, CountRelease> second(std::move(first));
        EXPECT_FALSE(first);   // NOLINT(bugprone-use-after-move): the moved-from state is the point
        EXPECT_EQ(second.get(), &object);
        UniqueHandle<int*, CountRelease> third;
        third = std::move(second);
        EXPECT_EQ(third.get(), &object);
        third = std::move(third);   // self-move keeps the handle
        EXPECT_EQ(third.get(), &object);
        EXPECT_EQ(releases, 0);
    }
    EXPECT_EQ(releases, 1);
}

TEST(CommonHandle, ResetReleasesTheOldHandleAndReportsHowThatWent) {
    int a = 0, b = 0;
    releases = 0;
    UniqueHandle<int*, CountRelease> owner(&a);
    EXPECT_TRUE(owner.reset(&b));
    EXPECT_EQ(releases, 1);
    EXPECT_EQ(owner.get(), &b);
    int* given = owner.release();
    EXPECT_EQ(given, &b);
    EXPECT_FALSE(owner);
    EXPECT_TRUE(owner.reset());   // nothing held: nothing to fail
    EXPECT_EQ(releases, 1);

    UniqueHandle<int*, FailRelease> failing(&a);
    EXPECT_FALSE(failing.reset());
    EXPECT_FALSE(failing);
}

TEST(CommonHandle, AFileThatCouldNotBeOpenedIsAnEmptyOwner) {
    KernelHandle missing = OwnFile(CreateFileW(L"C:\\no such folder\\no such file.txt", GENERIC_READ, 0, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(missing);
}

TEST(CommonHandle, ReceiveTakesAHandleHandedOutThroughAPointer) {
    RegistryKey key;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.receive()), ERROR_SUCCESS);
    EXPECT_TRUE(key);
    DWORD subKeys = 0;
    EXPECT_EQ(RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
}

}  // namespace
}  // namespace pagelark
