#include "framework/dialog_win.h"

#include "resources/resource_ids.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr UINT kOrdinaryMessage = WM_APP + 1;
constexpr LRESULT kOrdinaryAnswer = 42;

class AnsweringDialog : public CDialog {
public:
    AnsweringDialog() : CDialog(IDD_ABOUT) {}

    HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
    HBRUSH brush = GetSysColorBrush(COLOR_WINDOW);

protected:
    bool OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override
    {
        switch (message) {
        case WM_QUERYDRAGICON:
            result = reinterpret_cast<LRESULT>(icon);
            return true;
        case WM_CTLCOLORDLG:
            result = reinterpret_cast<LRESULT>(brush);
            return true;
        case kOrdinaryMessage:
            result = kOrdinaryAnswer;
            return true;
        default:
            return false;
        }
    }
};

TEST(DialogFramework, HandlersAnswerEachMessageTheWayTheSystemReadsIt)
{
    AnsweringDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    // The system reads a few answers from the procedure's return value, the others from DWLP_MSGRESULT.
    EXPECT_EQ(SendMessageW(dialog.Hwnd(), WM_QUERYDRAGICON, 0, 0), reinterpret_cast<LRESULT>(dialog.icon));
    EXPECT_EQ(SendMessageW(dialog.Hwnd(), WM_CTLCOLORDLG, 0, reinterpret_cast<LPARAM>(dialog.Hwnd())),
              reinterpret_cast<LRESULT>(dialog.brush));
    EXPECT_EQ(SendMessageW(dialog.Hwnd(), kOrdinaryMessage, 0, 0), kOrdinaryAnswer);
}

TEST(DialogFramework, ADialogThatDiesTakesItsWindowOffTheLiveList)
{
    auto dialog = std::make_unique<CDialog>(IDD_ABOUT);
    ASSERT_TRUE(dialog->Create(nullptr));
    const HWND window = dialog->Hwnd();
    EXPECT_TRUE(CDialog::IsLiveDialog(window));
    dialog.reset();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(CDialog::IsLiveDialog(window));
}

} // namespace
