#include "config/TermSetupValues.h"

#include "config/Configuration.h"
#include "config/DialogValueLists.h"

#include <algorithm>

namespace kalvor::config {

TermSetupValues TermSetupValuesFrom(const Settings& s)
{
    TermSetupValues v;
    v.DisplayWidth = s.DisplayWidth == 132 || s.DisplayWidth == 200 ? s.DisplayWidth : 80;
    v.KbEnterKey = s.KbEnterKey == 1 ? 1 : 0;
    v.NumEnterKey = s.NumEnterKey >= 0 && s.NumEnterKey <= 2 ? s.NumEnterKey : 0;
    v.SmartReturn = s.SmartReturn;
    v.KeyboardLayout = s.KeyboardLayout >= 0 && s.KeyboardLayout <= 2 ? s.KeyboardLayout : 0;
    const int language = LanguageIndex(s.Language);
    v.Language = language >= 0 ? language : LanguageIndex("English");
    v.Latin1 = s.HostCharSet == "Latin1";
    v.CapsOnly = s.CapsLockMode;
    v.BlockCursor = s.Cursor == CursorStyle::Block;
    return v;
}

std::optional<std::string> CheckTermSetupValues(const TermSetupValues& v)
{
    if (std::find(kDisplayWidths.begin(), kDisplayWidths.end(), v.DisplayWidth) == kDisplayWidths.end())
        return "The display width must be 80, 132 or 200 characters.";
    if (v.KbEnterKey != 0 && v.KbEnterKey != 1)
        return "The main Enter key can act as Return or Enter only.";
    if (v.NumEnterKey < 0 || v.NumEnterKey > 2)
        return "The keypad Enter key can act as Return, Enter or Tab only.";
    if (v.KeyboardLayout < 0 || v.KeyboardLayout > 2)
        return "Choose a keyboard layout.";
    if (v.Language < 0 || v.Language >= static_cast<int>(kLanguageTexts.size()))
        return "Choose a language.";
    return std::nullopt;
}

void StoreTermSetupValues(const TermSetupValues& v, Settings& s)
{
    s.SmartReturn = v.SmartReturn;
    s.DisplayWidth = v.DisplayWidth;
    s.KeyboardLayout = v.KeyboardLayout;
    s.KbEnterKey = v.KbEnterKey;
    s.NumEnterKey = v.NumEnterKey;
    s.Language = StoredLanguage(kLanguageTexts[static_cast<std::size_t>(v.Language)]);
    s.HostCharSet = v.Latin1 ? "Latin1" : "Roman8";
    s.CapsLockMode = v.CapsOnly;
    s.Cursor = v.BlockCursor ? CursorStyle::Block : CursorStyle::Underline;
}

void OpenTermPreferences(Configuration& config) { config.SaveTermConfig(true); }

int AcceptTermPreferences(Configuration& config, const TermSetupValues& values)
{
    config.DiscardTermConfig();
    // What the session holds now stays, apart from what the dialog changes.
    config.CollectFromSession();
    StoreTermSetupValues(values, config.Values());
    config.ApplyToSession();
    return config.UpdateSection("NewTerminalPref");
}

void CancelTermPreferences(Configuration& config) { config.SaveTermConfig(false); }

} // namespace kalvor::config
