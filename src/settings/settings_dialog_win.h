#pragma once
#include "app/hotkey_text.h"
#include "framework/dialog_win.h"
#include "messages/working_hours.h"
#include "settings/language_box_win.h"

#include <optional>
#include <string>

class Platform;

// Sent to the dialog's owner when OK or Cancel hides it: the shortcuts may have changed.
constexpr UINT WM_SHORTCUTS_CHOSEN = WM_APP + 1001;

// The working day's choices as Start takes them: each only while its box is checked.
struct WorkdayChoices {
    std::optional<WorkWeek> workingHours; // "Only remind me during my working hours"
    std::optional<int> dailyLimitMinutes; // "Tell me when I have been active for [8]:[00] hours today"
};

// The less common choices: forced breaks, sound-only messages, keyboard lights and the two
// sounds. Its controls are the live settings; OK and Cancel only hide it.
class CSetting : public CDialog {
public:
    explicit CSetting(Platform& platform);

    // Sets a sound and shows its name in the matching read-only field.
    void SetMessageSound(const std::string& fileName);
    void SetWarningSound(const std::string& fileName);

    // Shows a daily limit in minutes in its two fields, hours and minutes.
    void SetDailyLimit(int minutes);
    // The daily limit the two fields give, in minutes; 8 hours for what isn't one.
    int DailyLimitMinutes() const;
    // The daily limit while its box is checked, as the History dialog draws it.
    std::optional<int> DailyLimitInForce() const;
    // At Start: the choices of the working day, with the limit's fields showing the limit taken.
    WorkdayChoices TakeWorkdayChoices();
    // The LANGUAGE setting: "" for Windows' language, else a language's id.
    void SetLanguage(const std::string& setting) { m_languages.Select(setting); }
    std::string Language() const { return m_languages.Setting(); }
    // The shortcut a hot-key control holds, none when empty; and sets one.
    Shortcut ShortcutOf(int id) const;
    void SetShortcut(int id, const Shortcut& shortcut);

    // The files that are played; the read-only fields show the same names.
    std::string m_strMessageSound;
    std::string m_strWarningSound;
    // The working days and their hours, as the Working hours dialog last took them.
    WorkWeek m_workWeek = DefaultWorkWeek();

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int notifyCode) override;
    void OnOK() override;
    void OnCancel() override;

private:
    void OnOnlySound();
    void OnForceBreak();
    void OnWorkingHours();
    // Asks for a wave file; false when the user cancelled.
    bool ChooseSound(std::string& fileName);

    Platform& m_platform;
    CLanguageBox m_languages;
};
