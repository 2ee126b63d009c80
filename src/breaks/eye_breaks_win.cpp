#include "breaks/eye_breaks_win.h"

#include "app/main_window_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_dialog_win.h"
#include "settings/settings_file.h"

#include <string>

std::optional<int> CEyeBreaks::OnStart(HWND owner)
{
    m_owner = owner;
    CSetting* settings = g_pSettingsDlg;
    if (!settings || !settings->IsChecked(IDC_SETTINGS_EYE_BREAKS))
        return std::nullopt;
    const int minutes = EyeBreakMinutes(settings->ItemText(IDC_SETTINGS_EYE_BREAK_MINUTES));
    settings->SetItemText(IDC_SETTINGS_EYE_BREAK_MINUTES, std::to_string(minutes));
    return minutes;
}

void CEyeBreaks::Show(const EyeBreakView& view)
{
    if (!view.shown)
        m_popup.Close();
    else if (!m_popup.Hwnd())
        m_popup.Show(m_owner, view.secondsLeft);
    else
        m_popup.ShowCount(view.secondsLeft);
}
