// What the session asks of the configuration attached to it
// (config::Configuration): the host's changes that are recorded in the
// configuration file, and the configuration applied again. Registered with
// Session::SetConfiguration; without one the requests are dropped.
#pragma once

namespace kalvor {

class ConfigurationHooks {
public:
    // ESC & f defined user key `key` (0..7): its line of the file is rewritten.
    virtual void UserKeyDefined(int key) = 0;
    // ESC & f ... b: keep the terminal preferences (true) or restore them.
    virtual void SaveTermConfig(bool save) = 0;
    // The host redefined the Enter-key settings with saving.
    virtual void SaveEnterKeySettings() = 0;
    // ESC k and the end of a hard reset: the configured user keys again.
    virtual void ApplyUserKeys() = 0;
    // After a hard reset: the configuration file is read and applied again.
    virtual void ReapplyAfterHardReset() = 0;
    // ESC % x: the colour scheme the host chose is written at once.
    virtual void SavePreferences() = 0;

protected:
    ~ConfigurationHooks() = default;
};

} // namespace kalvor
