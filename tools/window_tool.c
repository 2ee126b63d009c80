/* A small helper for tools/update_screenshots.sh, run under Wine beside kelvaro.exe.
 *   window_tool.exe click TITLE ID   clicks the button ID of the shown window TITLE
 *   window_tool.exe check TITLE ID   checks the check box ID of the window TITLE, shown or hidden
 *   window_tool.exe rect CLASS TITLE SECONDS
 *       waits up to SECONDS for a shown window that matches ("-" as CLASS or TITLE matches any)
 *       and has stayed in place for half a second, then prints WIDTHxHEIGHT+X+Y
 * Exits with 1 when no window matches. */
#include <windows.h>
#include <stdio.h>
#include <string.h>

struct Search {
    const char* windowClass;
    const char* title;
    BOOL shownOnly;
    HWND found;
};

static BOOL CALLBACK Match(HWND window, LPARAM param)
{
    struct Search* search = (struct Search*)param;
    char text[256] = "";
    char windowClass[256] = "";
    if (search->shownOnly && !IsWindowVisible(window))
        return TRUE;
    GetWindowTextA(window, text, sizeof text);
    GetClassNameA(window, windowClass, sizeof windowClass);
    if (strcmp(search->title, "-") != 0 && strcmp(search->title, text) != 0)
        return TRUE;
    if (strcmp(search->windowClass, "-") != 0 && strcmp(search->windowClass, windowClass) != 0)
        return TRUE;
    search->found = window;
    return FALSE;
}

static HWND Find(const char* windowClass, const char* title, BOOL shownOnly)
{
    struct Search search = {windowClass, title, shownOnly, NULL};
    EnumWindows(Match, (LPARAM)&search);
    return search.found;
}

int main(int argc, char** argv)
{
    if (argc == 4 && strcmp(argv[1], "click") == 0) {
        HWND window = Find("-", argv[2], TRUE);
        int id = atoi(argv[3]);
        if (!window)
            return 1;
        /* Posted, so that a modal dialog opened by the click does not hold this helper. */
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(window, id));
        return 0;
    }
    if (argc == 4 && strcmp(argv[1], "check") == 0) {
        HWND window = Find("-", argv[2], FALSE);
        if (!window)
            return 1;
        /* Only the state: the program reads the box when it needs it. */
        SendDlgItemMessageA(window, atoi(argv[3]), BM_SETCHECK, BST_CHECKED, 0);
        return 0;
    }
    if (argc == 5 && strcmp(argv[1], "rect") == 0) {
        /* Polled from here, as a popup rolls in and out within seconds. */
        const int pollMs = 50;
        const int steadyPolls = 10;
        int polls = atoi(argv[4]) * 1000 / pollMs;
        RECT last = {0, 0, 0, 0};
        int steady = 0;
        for (; polls > 0; --polls, Sleep(pollMs)) {
            HWND window = Find(argv[2], argv[3], TRUE);
            RECT rect;
            if (!window || !GetWindowRect(window, &rect) || rect.right - rect.left < 10 ||
                rect.bottom - rect.top < 10) {
                steady = 0;
                continue;
            }
            steady = EqualRect(&rect, &last) ? steady + 1 : 0;
            last = rect;
            if (steady == steadyPolls) {
                printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left,
                       rect.top);
                return 0;
            }
        }
        return 1;
    }
    fprintf(stderr, "usage: window_tool.exe click TITLE ID | check TITLE ID | rect CLASS TITLE SECONDS\n");
    return 2;
}
