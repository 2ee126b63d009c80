#pragma once
#include "framework/dialog_win.h"

#include <string>

class Platform;

// The less common choices: forced breaks, sound-only messages, keyboard lights and the two
// sounds. Its controls are the live settings; OK and Cancel only hide it.
class CSetting : public CDialog {
public:
    explicit CSetting(Platform& platform);

    // Sets a sound and shows its name in the matching read-only field.
    void SetMessageSound(const std::string& fileName);
    void SetWarningSound(const std::string& fileName);

    // The files that are played; the read-only fields show the same names.
    std::string m_strMessageSound;
    std::string m_strWarningSound;

protected:
    BOOL OnInitDialog() override;
    void OnCommand(int id, int notifyCode) override;
    void OnOK() override;

private:
    void OnOnlySound();
    void OnForceBreak();
    // Asks for a wave file; false when the user cancelled.
    bool ChooseSound(std::string& fileName);

    Platform& m_platform;
};
