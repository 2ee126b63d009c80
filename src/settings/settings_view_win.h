#pragma once
// What the windows that show settings have in common: each control bound to a setting of the
// model shows it, and writes the user's change into it; the locks of supervision enable them.
#include "app/supervision_locks.h"
#include "framework/dialog_win.h"
#include "settings/settings_model.h"

#include <span>
#include <string>

// A check box and the setting it shows.
struct CheckBinding {
    int id;
    bool SettingsModel::*setting;
};

// An edit field and the text setting it shows; a read-only one only shows it.
struct TextBinding {
    int id;
    std::string SettingsModel::*setting;
    bool readOnly = false;
};

// A window's controls bound to settings, shown from the model and taken into it.
class CSettingsView {
public:
    CSettingsView(CDialog& dialog, SettingsModel& model, LockedWindow window, std::span<const CheckBinding> checks,
                  std::span<const TextBinding> texts)
        : m_dialog(dialog), m_model(model), m_window(window), m_checks(checks), m_texts(texts)
    {
    }

    // Shows the bound settings. The changes the controls report meanwhile are the model's own.
    void Show();
    // A control's notification: the user's change goes into the model. True when the control is bound.
    bool Take(int id, int notifyCode);
    // Enables the window's controls as the locks and the choices they depend on say.
    void ShowEnabling(bool running) const;
    // True while Show sets the controls.
    bool Showing() const { return m_bShowing; }

private:
    CDialog& m_dialog;
    SettingsModel& m_model;
    LockedWindow m_window;
    std::span<const CheckBinding> m_checks;
    std::span<const TextBinding> m_texts;
    bool m_bShowing = false;
};
