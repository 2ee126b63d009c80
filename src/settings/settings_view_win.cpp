#include "settings/settings_view_win.h"

void CSettingsView::Show()
{
    m_bShowing = true;
    for (const CheckBinding& check : m_checks)
        m_dialog.SetChecked(check.id, m_model.*check.setting);
    for (const TextBinding& text : m_texts) {
        // Set only when it differs, so that a field the user is typing in keeps its caret.
        if (m_dialog.ItemText(text.id) != m_model.*text.setting)
            m_dialog.SetItemText(text.id, m_model.*text.setting);
    }
    m_bShowing = false;
}

bool CSettingsView::Take(int id, int notifyCode)
{
    if (m_bShowing)
        return false;
    for (const CheckBinding& check : m_checks) {
        if (check.id == id) {
            if (notifyCode == BN_CLICKED)
                m_model.*check.setting = m_dialog.IsChecked(id);
            return true;
        }
    }
    for (const TextBinding& text : m_texts) {
        if (text.id == id) {
            if (notifyCode == EN_CHANGE && !text.readOnly)
                m_model.*text.setting = m_dialog.ItemText(id);
            return true;
        }
    }
    return false;
}

void CSettingsView::ShowEnabling(bool running) const
{
    for (int id : ControlsEnabledByRules(m_window))
        m_dialog.EnableItem(id, IsControlEnabled(m_window, id, m_model, running));
}
