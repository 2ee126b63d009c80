#include "framework/window_texts_win.h"

#include "language/translation.h"
#include "platform/text_win.h"

#include <string>

namespace {

// The caption of a window as the user's language has it; untouched where it has none.
void TranslateWindowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    if (length <= 0)
        return;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    const std::string english = Narrow(text);
    const char* translated = Tr(english.c_str());
    if (translated != english.c_str())
        SetWindowTextW(window, Widen(translated).c_str());
}

// Buttons and static texts carry captions; a picture's "caption" names its resource, and an
// edit field's is the user's.
bool HasCaption(HWND control)
{
    wchar_t className[32] = {};
    GetClassNameW(control, className, static_cast<int>(std::size(className)));
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(control, GWL_STYLE));
    if (lstrcmpiW(className, L"Button") == 0)
        return (style & (BS_BITMAP | BS_ICON)) == 0;
    if (lstrcmpiW(className, L"Static") == 0) {
        const DWORD type = style & SS_TYPEMASK;
        return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_SIMPLE ||
               type == SS_LEFTNOWORDWRAP;
    }
    return false;
}

BOOL CALLBACK TranslateChild(HWND child, LPARAM dialog)
{
    // Only the dialog's own controls, not those of a child window's children.
    if (GetParent(child) == reinterpret_cast<HWND>(dialog) && HasCaption(child))
        TranslateWindowText(child);
    return TRUE;
}

} // namespace

void TranslateDialogTexts(HWND dialog)
{
    TranslateWindowText(dialog);
    EnumChildWindows(dialog, TranslateChild, reinterpret_cast<LPARAM>(dialog));
}

void TranslateMenuTexts(HMENU menu)
{
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        wchar_t text[256] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STRING | MIIM_SUBMENU | MIIM_FTYPE;
        item.dwTypeData = text;
        item.cch = static_cast<UINT>(std::size(text));
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &item))
            continue;
        if (item.hSubMenu)
            TranslateMenuTexts(item.hSubMenu);
        if ((item.fType & MFT_SEPARATOR) != 0 || text[0] == L'\0')
            continue;
        const std::string english = Narrow(text);
        const char* translated = Tr(english.c_str());
        if (translated == english.c_str())
            continue;
        std::wstring wide = Widen(translated);
        MENUITEMINFOW changed{};
        changed.cbSize = sizeof changed;
        changed.fMask = MIIM_STRING;
        changed.dwTypeData = wide.data();
        SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &changed);
    }
}
