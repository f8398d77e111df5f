#include <thread>

#include "platform/window_fixture.h"

namespace
{

std::vector<UINT> dialog_messages;

INT_PTR CALLBACK ok_cancel_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM)
{
    dialog_messages.push_back(message);
    if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wparam) == IDOK ? 1 : 0);
        return 1;
    }
    return 0;
}

// Shows the dialog while another thread answers it as a person would.
INT_PTR answer_dialog(const std::string& answer)
{
    std::thread person([answer] {
        xdotool("search --sync --onlyvisible --name '^orbdrift$'");
        xdotool(answer);
    });
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2003),
                                           nullptr, ok_cancel_proc, 0);
    person.join();
    return result;
}

} // namespace

class DialogTest : public XServerTest
{
};

TEST_F(DialogTest, ReturnMeansOk)
{
    EXPECT_EQ(answer_dialog("key Return"), 1);
    ASSERT_FALSE(dialog_messages.empty());
    EXPECT_EQ(dialog_messages.front(), UINT(WM_INITDIALOG));
    EXPECT_EQ(dialog_messages.back(), UINT(WM_COMMAND));
}

TEST_F(DialogTest, EscapeMeansCancel)
{
    EXPECT_EQ(answer_dialog("key Escape"), 0);
}

TEST_F(DialogTest, TheCancelButtonCancels)
{
    // The dialog is centred on the 640 x 480 screen; Cancel is its right button.
    EXPECT_EQ(answer_dialog("mousemove 400 262 click 1"), 0);
    EXPECT_EQ(answer_dialog("mousemove 320 262 click 1"), 1);            // and OK the left one
    EXPECT_EQ(answer_dialog("mousemove 400 278 click 1 key Return"), 1); // just below Cancel
}
