/* A small helper for tools/update_screenshots.sh and the installer's test, run under Wine beside
 * kelvaro.exe.
 *   window_tool.exe click TITLE ID   clicks the button ID of the shown window TITLE
 *   window_tool.exe check TITLE ID   checks the check box ID of the window TITLE, shown or hidden
 *   window_tool.exe post TITLE ID    sends the command ID to the window TITLE, shown or hidden
 *   window_tool.exe menu TITLE HOLDING COMMAND
 *       sends the menu command COMMAND to the window TITLE, shown or hidden, that holds control HOLDING
 *   window_tool.exe timer TITLE HOLDING ID
 *       makes the timer ID of that window tick now
 *   window_tool.exe ticks TITLE HOLDING ID CLASS SECONDS
 *       makes the timer ID of that window tick once a second until a window of the class CLASS
 *       shows, for at most SECONDS
 *   window_tool.exe close CLASS      closes every window of the class CLASS
 *   window_tool.exe focus TITLE ID   moves the keyboard focus of the shown dialog TITLE to its control ID
 *   window_tool.exe wait TITLE ID TEXT SECONDS
 *       waits up to SECONDS for a window TITLE, shown or hidden, whose control ID reads TEXT
 *   window_tool.exe enabled TITLE ID SECONDS
 *       waits up to SECONDS for a shown window TITLE whose control ID is enabled
 *   window_tool.exe boxes            prints the text of every message box that is shown
 *   window_tool.exe shot CLASS TITLE SECONDS FILE [STILL_MS]
 *       waits up to SECONDS for a shown window that matches ("-" as CLASS or TITLE matches any)
 *       and has stayed in place for half a second, then, again within SECONDS, saves its picture
 *       once it has stayed the same for STILL_MS (1000) milliseconds, as the bitmap FILE (with 0 as
 *       it stands); exits with 3 when the window came but its picture never stayed the same that long
 *   window_tool.exe work SECONDS     moves the mouse to and fro twice a second for SECONDS, as a user at work
 *   window_tool.exe pointer X Y      puts the mouse pointer at X, Y of the virtual screen
 * Exits with 1 when no window matches. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct Search {
    const char* windowClass;
    const char* title;
    BOOL shownOnly;
    HWND found;
    int controlId; /* 0: any window; else only one holding this control */
};

/* A message box's text is the static control with this id, in Windows as in Wine. */
#define MESSAGE_BOX_TEXT_ID 0xFFFF

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
    if (search->controlId != 0 && !GetDlgItem(window, search->controlId))
        return TRUE;
    search->found = window;
    return FALSE;
}

static HWND FindHolding(const char* windowClass, const char* title, BOOL shownOnly, int controlId)
{
    struct Search search = {windowClass, title, shownOnly, NULL, controlId};
    EnumWindows(Match, (LPARAM)&search);
    return search.found;
}

static HWND Find(const char* windowClass, const char* title, BOOL shownOnly)
{
    return FindHolding(windowClass, title, shownOnly, 0);
}

static BOOL CALLBACK PrintMessageBox(HWND window, LPARAM unused)
{
    char windowClass[256] = "";
    char text[1024] = "";
    (void)unused;
    GetClassNameA(window, windowClass, sizeof windowClass);
    if (IsWindowVisible(window) && strcmp(windowClass, "#32770") == 0 &&
        GetDlgItemTextA(window, MESSAGE_BOX_TEXT_ID, text, sizeof text) > 0)
        printf("%s\n", text);
    return TRUE;
}

/* Polled from here, as a popup rolls in and out within seconds. */
static HWND WaitSteady(const char* windowClass, const char* title, int seconds)
{
    const int pollMs = 50;
    const int steadyPolls = 10;
    int polls = seconds * 1000 / pollMs;
    RECT last = {0, 0, 0, 0};
    int steady = 0;
    for (; polls > 0; --polls, Sleep(pollMs)) {
        HWND window = Find(windowClass, title, TRUE);
        RECT rect;
        if (!window || !GetWindowRect(window, &rect) || rect.right - rect.left < 10 || rect.bottom - rect.top < 10) {
            steady = 0;
            continue;
        }
        steady = EqualRect(&rect, &last) ? steady + 1 : 0;
        last = rect;
        if (steady == steadyPolls)
            return window;
    }
    return NULL;
}

/* A window's picture as a bottom-up 24-bit bitmap: its header and its pixels (malloc'd). */
struct Picture {
    BITMAPINFOHEADER header;
    unsigned char* pixels;
    DWORD size;
};

/* Copied from the window's own picture, not from the screen: Wine leaves a topmost window that was
 * created hidden and shown later black on the X display until it moves, while its own picture is
 * whole. Covering windows do not spoil it either. */
static BOOL CaptureWindow(HWND window, struct Picture* picture)
{
    RECT rect;
    HDC source = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap;
    void* bits = NULL;
    BOOL captured = FALSE;
    GetWindowRect(window, &rect);
    memset(&picture->header, 0, sizeof picture->header);
    picture->header.biSize = sizeof picture->header;
    picture->header.biWidth = rect.right - rect.left;
    picture->header.biHeight = rect.bottom - rect.top;
    picture->header.biPlanes = 1;
    picture->header.biBitCount = 24;
    picture->size = (DWORD)(((picture->header.biWidth * 3 + 3) & ~3) * picture->header.biHeight);
    picture->pixels = NULL;
    bitmap = CreateDIBSection(source, (BITMAPINFO*)&picture->header, DIB_RGB_COLORS, &bits, NULL, 0);
    if (bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, picture->header.biWidth, picture->header.biHeight, source, 0, 0, SRCCOPY);
        GdiFlush();
        picture->pixels = malloc(picture->size);
        if (picture->pixels) {
            memcpy(picture->pixels, bits, picture->size);
            captured = TRUE;
        }
        SelectObject(memory, previous);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(window, source);
    return captured;
}

static BOOL SamePicture(const struct Picture* a, const struct Picture* b)
{
    return a->size == b->size && a->header.biWidth == b->header.biWidth &&
           memcmp(a->pixels, b->pixels, a->size) == 0;
}

static BOOL AllBlack(const struct Picture* picture)
{
    DWORD i;
    for (i = 0; i < picture->size; ++i) {
        if (picture->pixels[i] != 0)
            return FALSE;
    }
    return TRUE;
}

static BOOL SavePicture(const struct Picture* picture, const char* fileName)
{
    BITMAPFILEHEADER fileHeader = {0};
    FILE* file = fopen(fileName, "wb");
    BOOL saved;
    if (!file)
        return FALSE;
    fileHeader.bfType = 0x4D42; /* "BM" */
    fileHeader.bfOffBits = sizeof fileHeader + sizeof picture->header;
    fileHeader.bfSize = fileHeader.bfOffBits + picture->size;
    saved = fwrite(&fileHeader, sizeof fileHeader, 1, file) == 1 &&
            fwrite(&picture->header, sizeof picture->header, 1, file) == 1 &&
            fwrite(picture->pixels, picture->size, 1, file) == 1;
    return fclose(file) == 0 && saved;
}

static BOOL CALLBACK FindUndrawn(HWND window, LPARAM undrawn)
{
    if (IsWindowVisible(window) && GetUpdateRect(window, NULL, FALSE))
        *(BOOL*)undrawn = TRUE;
    return !*(BOOL*)undrawn;
}

/* Whether the window and its controls have drawn all they were asked to: the system still holds
 * what is left to draw of each, also for another program's windows. */
static BOOL Drawn(HWND window)
{
    BOOL undrawn = FALSE;
    FindUndrawn(window, (LPARAM)&undrawn);
    if (!undrawn)
        EnumChildWindows(window, FindUndrawn, (LPARAM)&undrawn);
    return !undrawn;
}

/* A window shown a moment ago may not have drawn everything yet, and Wine may show it to others
 * only in parts for a while: its picture is taken once it has stayed the same over captures that
 * span stillMs and shows more than black. The pictures' program holds its windows still, so only a
 * hang keeps this from ending. With stillMs 0 the window is taken as it stands (a window with a
 * clock in it never stays the same): at a capture that shows more than black, taken when it and
 * its controls had drawn everything over a pause that lets Wine show it to others. */
static BOOL SaveSteadyPicture(HWND window, const char* fileName, int seconds, int stillMs)
{
    const int pauseMs = 250;
    /* Captures in a row that must agree with the one before. */
    const int agreeing = stillMs / pauseMs;
    const DWORD start = GetTickCount();
    struct Picture last = {{0}, NULL, 0};
    BOOL saved = FALSE;
    BOOL wasDrawn = FALSE;
    int same = 0;
    while (!saved && GetTickCount() - start < (DWORD)seconds * 1000) {
        struct Picture next;
        const BOOL drawn = Drawn(window);
        BOOL shows;
        /* A window hidden meanwhile keeps a picture of the past. */
        if (!IsWindowVisible(window) || !CaptureWindow(window, &next))
            break;
        shows = !AllBlack(&next) && (stillMs > 0 || (wasDrawn && drawn));
        wasDrawn = drawn;
        same = shows && last.pixels && SamePicture(&last, &next) ? same + 1 : 0;
        if (shows && same >= agreeing)
            saved = SavePicture(&next, fileName);
        free(last.pixels);
        last = next;
        Sleep(pauseMs);
    }
    free(last.pixels);
    return saved;
}

static BOOL CALLBACK CloseOfClass(HWND window, LPARAM windowClass)
{
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, (const char*)windowClass) == 0)
        PostMessageA(window, WM_CLOSE, 0, 0);
    return TRUE;
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
        /* As a user's click: the box checked, then the dialog told, which writes the choice. Posted
         * behind the box's state, so that it comes before anything posted after it. */
        SendDlgItemMessageA(window, atoi(argv[3]), BM_SETCHECK, BST_CHECKED, 0);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(atoi(argv[3]), BN_CLICKED),
                     (LPARAM)GetDlgItem(window, atoi(argv[3])));
        return 0;
    }
    if (argc == 4 && strcmp(argv[1], "post") == 0) {
        int id = atoi(argv[3]);
        HWND window = FindHolding("-", argv[2], FALSE, id);
        if (!window)
            return 1;
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(window, id));
        return 0;
    }
    if (argc == 5 && strcmp(argv[1], "menu") == 0) {
        HWND window = FindHolding("-", argv[2], FALSE, atoi(argv[3]));
        if (!window)
            return 1;
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(atoi(argv[4]), 0), 0);
        return 0;
    }
    if (argc == 5 && strcmp(argv[1], "timer") == 0) {
        HWND window = FindHolding("-", argv[2], FALSE, atoi(argv[3]));
        if (!window)
            return 1;
        PostMessageA(window, WM_TIMER, (WPARAM)atoi(argv[4]), 0);
        return 0;
    }
    if (argc == 7 && strcmp(argv[1], "ticks") == 0) {
        const int periodMs = 1000;
        const DWORD start = GetTickCount();
        const DWORD limitMs = (DWORD)atoi(argv[6]) * 1000;
        for (; GetTickCount() - start < limitMs; Sleep(periodMs)) {
            HWND window = FindHolding("-", argv[2], FALSE, atoi(argv[3]));
            if (Find(argv[5], "-", TRUE))
                return 0;
            /* Each tick handled before the next, so that none comes after the window has. */
            if (window)
                SendMessageTimeoutA(window, WM_TIMER, (WPARAM)atoi(argv[4]), 0, SMTO_NORMAL, limitMs, NULL);
        }
        return 1;
    }
    if (argc == 3 && strcmp(argv[1], "close") == 0) {
        EnumWindows(CloseOfClass, (LPARAM)argv[2]);
        return 0;
    }
    if (argc == 4 && strcmp(argv[1], "focus") == 0) {
        int id = atoi(argv[3]);
        HWND window = FindHolding("-", argv[2], TRUE, id);
        if (!window)
            return 1;
        PostMessageA(window, WM_NEXTDLGCTL, (WPARAM)GetDlgItem(window, id), TRUE);
        return 0;
    }
    if (argc == 5 && strcmp(argv[1], "enabled") == 0) {
        const int pollMs = 100;
        int id = atoi(argv[3]);
        int polls = atoi(argv[4]) * 1000 / pollMs;
        for (; polls > 0; --polls, Sleep(pollMs)) {
            HWND window = FindHolding("-", argv[2], TRUE, id);
            if (window && IsWindowEnabled(GetDlgItem(window, id)))
                return 0;
        }
        return 1;
    }
    if (argc == 6 && strcmp(argv[1], "wait") == 0) {
        const int pollMs = 100;
        int id = atoi(argv[3]);
        int polls = atoi(argv[5]) * 1000 / pollMs;
        for (; polls > 0; --polls, Sleep(pollMs)) {
            char text[256] = "";
            HWND window = FindHolding("-", argv[2], FALSE, id);
            if (!window)
                continue;
            GetDlgItemTextA(window, id, text, sizeof text);
            if (strcmp(text, argv[4]) == 0)
                return 0;
        }
        return 1;
    }
    if (argc == 3 && strcmp(argv[1], "work") == 0) {
        const int periodMs = 500;
        int moves = atoi(argv[2]) * 1000 / periodMs;
        for (; moves > 0; --moves, Sleep(periodMs)) {
            INPUT input[2];
            memset(input, 0, sizeof input);
            input[0].type = input[1].type = INPUT_MOUSE;
            input[0].mi.dwFlags = input[1].mi.dwFlags = MOUSEEVENTF_MOVE;
            input[0].mi.dx = 1;
            input[1].mi.dx = -1;
            SendInput(2, input, sizeof(INPUT));
        }
        return 0;
    }
    if (argc == 4 && strcmp(argv[1], "pointer") == 0)
        return SetCursorPos(atoi(argv[2]), atoi(argv[3])) ? 0 : 1;
    if (argc == 2 && strcmp(argv[1], "boxes") == 0) {
        EnumWindows(PrintMessageBox, 0);
        return 0;
    }
    if ((argc == 6 || argc == 7) && strcmp(argv[1], "shot") == 0) {
        HWND window = WaitSteady(argv[2], argv[3], atoi(argv[4]));
        if (!window)
            return 1;
        return SaveSteadyPicture(window, argv[5], atoi(argv[4]), argc == 7 ? atoi(argv[6]) : 1000) ? 0 : 3;
    }
    fprintf(stderr, "usage: window_tool.exe click TITLE ID | check TITLE ID | post TITLE ID | "
                    "menu TITLE HOLDING COMMAND | timer TITLE HOLDING ID | ticks TITLE HOLDING ID CLASS SECONDS | "
                    "close CLASS | focus TITLE ID | wait TITLE ID TEXT SECONDS | "
                    "enabled TITLE ID SECONDS | boxes | shot CLASS TITLE SECONDS FILE [STILL_MS] | "
                    "work SECONDS | pointer X Y\n");
    return 2;
}
