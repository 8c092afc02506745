#include "platform/ExceptionTracking.h"
#include "tests/support/ExceptionTrackingScope.h"
#include "tests/support/Sanitizers.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

[[gnu::noinline]] void ThrowHere()
{
    throw std::runtime_error("ici");
}

void ThrowAndCatch(void (*thrower)())
{
    try {
        thrower();
    } catch (const std::exception &) {
    }
}

std::uintptr_t ModuleBaseOf(const void *address)
{
    Dl_info info{};
    dladdr(address, &info);
    return reinterpret_cast<std::uintptr_t>(info.dli_fbase);
}

// The innermost recorded frame is a return address inside ThrowHere.
bool StartsInThrowHere(const std::vector<platform::StackFrame> &stack)
{
    const auto start = reinterpret_cast<std::uintptr_t>(&ThrowHere);
    return !stack.empty() && stack.front().address > start && stack.front().address < start + 256;
}

} // namespace

TEST(ExceptionTracking, NothingIsRecordedBeforeTrackingStarts)
{
    // On a thread of its own, which no earlier case has thrown on.
    bool nothingRecorded = false;
    std::thread fresh([&] {
        ThrowAndCatch(ThrowHere);
        nothingRecorded = platform::LastExceptionStack().empty();
    });
    fresh.join();
    EXPECT_TRUE(nothingRecorded);
}

TEST(ExceptionTracking, RecordsTheThrowSiteAndItsModule)
{
    SKIP_UNDER_ADDRESS_SANITIZER(SanitizerOwnsCxaThrow);
    ExceptionTrackingScope tracking;
    ThrowAndCatch(ThrowHere);
    const std::vector<platform::StackFrame> stack = platform::LastExceptionStack();
    ASSERT_TRUE(StartsInThrowHere(stack));
    EXPECT_EQ(stack.front().moduleBase, ModuleBaseOf(reinterpret_cast<void *>(&ThrowHere)));
    EXPECT_GT(stack.size(), 2u); // ThrowAndCatch, the test body and beyond
}

TEST(ExceptionTracking, RecordsThrowsInsideTheRuntimeLibrary)
{
    SKIP_UNDER_ADDRESS_SANITIZER(SanitizerOwnsCxaThrow);
    ExceptionTrackingScope tracking;
    ThrowAndCatch([] { (void)std::stoi("pas un nombre"); });
    const std::vector<platform::StackFrame> stack = platform::LastExceptionStack();
    ASSERT_FALSE(stack.empty());
    // The throw site lies in the runtime library, not in this program.
    EXPECT_NE(stack.front().moduleBase, 0u);
    EXPECT_NE(stack.front().moduleBase, ModuleBaseOf(reinterpret_cast<void *>(&ThrowHere)));
}

TEST(ExceptionTracking, EachThreadKeepsItsOwnStack)
{
    SKIP_UNDER_ADDRESS_SANITIZER(SanitizerOwnsCxaThrow);
    ExceptionTrackingScope tracking;
    ThrowAndCatch(ThrowHere);
    const std::uintptr_t throwSite = platform::LastExceptionStack().front().address;
    bool otherRecorded = false;
    bool otherSawNothingBefore = false;
    // Told apart by the throw site itself: at -O3 the other throw may lie in cold code right
    // behind ThrowHere.
    std::thread other([&] {
        otherSawNothingBefore = platform::LastExceptionStack().empty();
        ThrowAndCatch([] { throw std::logic_error("ailleurs"); });
        otherRecorded = !platform::LastExceptionStack().empty() &&
                        platform::LastExceptionStack().front().address != throwSite;
    });
    other.join();
    EXPECT_TRUE(otherSawNothingBefore);
    EXPECT_TRUE(otherRecorded);
    EXPECT_TRUE(StartsInThrowHere(platform::LastExceptionStack()));
}

TEST(ExceptionTracking, StoppedTrackingKeepsTheLastRecord)
{
    SKIP_UNDER_ADDRESS_SANITIZER(SanitizerOwnsCxaThrow);
    ExceptionTrackingScope tracking;
    ThrowAndCatch(ThrowHere);
    platform::StopExceptionTracking();
    ThrowAndCatch([] { throw std::logic_error("non suivie"); });
    EXPECT_TRUE(StartsInThrowHere(platform::LastExceptionStack()));
}
