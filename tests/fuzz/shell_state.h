#pragma once
#include "shell/close_rules.h"
#include "shell/render_proc.h"
#include "shell/saver_entry.h"
#include "shell/saver_process.h"
#include "shell/saver_window.h"
#include "shell/window_chain.h"
#include "support/fake_win32.h"

// The shell keeps its state in process-wide globals, as a process that runs
// one mode and ends may; a fuzzer runs it thousands of times in one process,
// so each input starts from what a new process would find.
inline void reset_shell_and_fake()
{
    reset_fake();
    module_instance = nullptr;
    legacy_platform = FALSE;
    saver_window = nullptr;
    preview_mode = FALSE;
    close_confirmed = FALSE;
    verifying_password = FALSE;
    password_library = nullptr;
    verify_password = nullptr;
    autoplay_message = 0;
    input_method_module = nullptr;
    associate_input_context = nullptr;
    previous_input_context = nullptr;
    mouse_reference = {0, 0};
    last_password_check = 0xFFFFFFFFu;
    render_dc = nullptr;
    render_glrc = nullptr;
}
