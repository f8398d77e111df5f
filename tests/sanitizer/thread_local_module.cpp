// A module loaded at run time with a small thread-local block, which each
// thread gets from the heap on its first use, as Mesa's and LLVM's are.
thread_local char block[40];

extern "C" char* thread_block()
{
    return block;
}
