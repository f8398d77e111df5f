// Built into every program of a sanitized build, whatever environment starts
// it (the end-to-end scripts start the saver with an empty one).
//
// The leak check at exit scans each thread's thread-local blocks of modules
// loaded at run time (Mesa's and LLVM's). The runtime learns where they lie
// by watching __tls_get_addr, and guesses: a block that starts 16 bytes into
// a page is taken for one with an older C library's header in front, and the
// 16 bytes it reads there are the allocator's own chunk header, so it records
// a range at a small number such as 0x7d8. Scanning that range crashes the
// check ("Tracer caught signal 11"), and the program, about to exit with 0,
// exits with 1. Where a block lands depends on every allocation before it,
// so one machine meets it on every run and another never. Unwatched, the
// blocks are still found, as heap chunks the threads' vectors of modules
// point to, so no leak goes unseen.
extern "C" __attribute__((visibility("default"))) const char* __asan_default_options()
{
    return "intercept_tls_get_addr=0";
}
