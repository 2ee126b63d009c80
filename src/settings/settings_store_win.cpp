// Moves every setting between the model and settings.txt.
#include "app/main_window_win.h"

#include "language/text_format.h"
#include "language/translation.h"
#include "platform/platform_win.h"
#include "platform/text_decoding.h"
#include "settings/settings_file.h"

namespace {
constexpr char kSettingsFile[] = "settings.txt";
}

int CTavrinDlg::LoadSaveSettings(int load)
{
    // Nothing is read into a window that has gone, nor written from the end of a run.
    if (Ended())
        return 0;
    if (load != 0) {
        // The file is read whole before anything is applied, so the write that a start
        // from STARTPROGRAM makes can't disturb the reading.
        const std::optional<std::string> text = m_platform.ReadWholeFile(kSettingsFile);
        if (!text) {
            m_fileBoxes.Show(Hwnd(), FillText(Tr(kCouldNotOpen), {kSettingsFile}), "Kelvaro",
                             MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
            return 0;
        }
        for (const SettingAssignment& assignment : AssignmentsToApply(ParseSettingsFile(DecodeTextFile(*text)))) {
            switch (ApplySetting(m_settings, assignment)) {
            case SettingEffect::HideToTray:
                m_platform.SetWindowTimer(Hwnd(), kHideToTrayTimer, kHideToTrayDelayMs);
                break;
            case SettingEffect::StartSupervision:
                // The windows show what the start takes.
                ShowSettings();
                OnStartStop();
                break;
            case SettingEffect::RestorePause:
                m_quiet.RestorePause(*assignment.pausedUntil);
                break;
            case SettingEffect::None:
                break;
            }
            if (Ended())
                return 1;
        }
        ShowSettings();
        ShowLocks();
        return 1;
    }
    if (!m_platform.ReplaceWholeFile(kSettingsFile, FormatSettingsFile(m_settings, m_quiet.PausedUntil()))) {
        m_fileBoxes.Show(Hwnd(), FillText(Tr(kCouldNotOpen), {kSettingsFile}), "Kelvaro",
                         MB_OK | MB_ICONEXCLAMATION | MB_TOPMOST);
        return 0;
    }
    return 1;
}
