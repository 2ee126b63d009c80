#pragma once
#include "language/language_choice.h"

#include <windows.h>

#include <string>
#include <vector>

// The Settings dialog's drop-down of languages: Windows' language, English, the built-in languages
// and those of the user's translations, each in its own name. It holds the LANGUAGE setting,
// which takes effect at the next start.
class CLanguageBox {
public:
    // Fills the drop-down, with the languages of the data folder's "kelvaro.LANG.po" files.
    void Fill(HWND comboBox, const std::vector<std::string>& userFiles);
    // Selects the entry of a LANGUAGE value ("" for Windows' language).
    void Select(const std::string& setting);
    // The LANGUAGE value of the selected entry.
    std::string Setting() const;

private:
    HWND m_hCombo = nullptr;
    std::vector<LanguageEntry> m_entries;
    std::string m_strSetting;
};
