#include "settings/language_box_win.h"

#include "platform/text_win.h"

void CLanguageBox::Fill(HWND comboBox, const std::vector<std::string>& userFiles)
{
    m_hCombo = comboBox;
    m_entries = LanguageEntries(userFiles);
    SendMessageW(m_hCombo, CB_RESETCONTENT, 0, 0);
    for (const LanguageEntry& entry : m_entries)
        SendMessageW(m_hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entry.name).c_str()));
    Select(m_strSetting);
}

void CLanguageBox::Select(const std::string& setting)
{
    m_strSetting = setting;
    if (!m_hCombo)
        return;
    const std::size_t before = m_entries.size();
    const std::size_t index = EntryOfSetting(m_entries, setting);
    // A language whose translation is gone keeps its entry, so that saving keeps the setting.
    if (m_entries.size() > before)
        SendMessageW(m_hCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(m_entries.back().name).c_str()));
    SendMessageW(m_hCombo, CB_SETCURSEL, index, 0);
}

std::string CLanguageBox::Setting() const
{
    if (!m_hCombo)
        return m_strSetting;
    const LRESULT index = SendMessageW(m_hCombo, CB_GETCURSEL, 0, 0);
    if (index < 0 || static_cast<std::size_t>(index) >= m_entries.size())
        return m_strSetting;
    return m_entries[static_cast<std::size_t>(index)].setting;
}
