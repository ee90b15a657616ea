// A configuration fake for a session: records what the session asks of the
// configuration attached to it.
#pragma once

#include "session/ConfigurationHooks.h"

#include <vector>

namespace kalvor::test {

class RecordingConfiguration final : public ConfigurationHooks {
public:
    std::vector<int> DefinedKeys;
    std::vector<bool> TermConfigSaves; // true: kept, false: restored
    int EnterKeySaves = 0;
    int UserKeyApplications = 0;
    int HardResets = 0;
    int PreferenceSaves = 0;

    void UserKeyDefined(int key) override { DefinedKeys.push_back(key); }
    void SaveTermConfig(bool save) override { TermConfigSaves.push_back(save); }
    void SaveEnterKeySettings() override { ++EnterKeySaves; }
    void ApplyUserKeys() override { ++UserKeyApplications; }
    void ReapplyAfterHardReset() override { ++HardResets; }
    void SavePreferences() override { ++PreferenceSaves; }
};

} // namespace kalvor::test
