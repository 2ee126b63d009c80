#pragma once
#include "appearance/palette.h"

#include <windows.h>

#include <vector>

class Platform;
struct SettingsModel;

// Keeps every window of the program in the look the user chose, following Windows' own look and
// high contrast as they change.
class CAppearance {
public:
    CAppearance(Platform& platform, const SettingsModel& settings);
    ~CAppearance();
    CAppearance(const CAppearance&) = delete;
    CAppearance& operator=(const CAppearance&) = delete;

    // A picture control that shows a bitmap of the resources in the light look and under high
    // contrast, and another in the dark look.
    void AddPicture(HWND control, int lightBitmap, int darkBitmap);
    // Takes the choice in the settings and what Windows says now; when the look in force changed,
    // every window of the program, open or hidden, is dressed and repainted in it at once.
    void Follow();

private:
    struct Picture {
        HWND control;
        int lightBitmap;
        int darkBitmap;
        // Loaded when first shown, and kept until the end.
        HBITMAP light = nullptr;
        HBITMAP dark = nullptr;
    };
    void ShowPictures();

    Platform& m_platform;
    const SettingsModel& m_settings;
    // The look the windows were last painted in.
    Theme m_shown;
    std::vector<Picture> m_pictures;
};
