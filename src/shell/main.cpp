#include "shell/saver_entry.h"

// The command line is read by process_start itself, as on Windows.
int main()
{
    process_start();
}
