// A configuration fake for a session: records the saves and key applications
// the session asks of the configuration attached to it.
#pragma once

#include "session/ConfigurationHooks.h"

#include <vector>

namespace kalvor::test {

class RecordingConfiguration final : public ConfigurationHooks {
public:
    std::vector<bool> TermConfigSaves; // true: kept, false: restored
    int EnterKeySaves = 0;
    int UserKeyApplications = 0;

    void UserKeyDefined(int) override {}
    void SaveTermConfig(bool save) override { TermConfigSaves.push_back(save); }
    void SaveEnterKeySettings() override { ++EnterKeySaves; }
    void ApplyUserKeys() override { ++UserKeyApplications; }
    void ReapplyAfterHardReset() override {}
    void SavePreferences() override {}
};

} // namespace kalvor::test
