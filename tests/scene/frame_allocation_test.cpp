// Counts the heap allocations the scene makes while it draws frames. This
// program replaces the global allocation functions, so it is built on its own;
// it counts only while asked to, and never inside GL itself, whose driver may
// allocate as it likes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "scene/frame_driver.h"
#include "support/gl_recorder.h"
#include "support/gl_test.h"

namespace
{

bool counting = false;
long allocations = 0;

void* allocate(std::size_t size)
{
    if (counting && gl_call_depth() == 0)
        ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

} // namespace

// GCC sees free() paired with new and warns, not knowing this is the
// replacement family.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size)
{
    return allocate(size);
}
void* operator new[](std::size_t size)
{
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept
{
    std::free(p);
}

class FrameAllocationTest : public GlTest
{
};

TEST_F(FrameAllocationTest, FramesAllocateNothing)
{
    set_test_clock(0);
    start_scene(width, height);
    counting = true;
    for (int i = 1; i <= 500; ++i) {
        set_test_clock(i * 5);
        draw_frame();
    }
    counting = false;
    EXPECT_EQ(allocations, 0);

    // The counter itself works: a plain allocation is seen.
    counting = true;
    ::operator delete(::operator new(1));
    counting = false;
    EXPECT_EQ(allocations, 1);
}
