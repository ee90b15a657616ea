// Settings and a terminal session: which settings the session holds, how a
// loaded configuration is applied to it and how its current state is
// collected back into the settings.
//
// Held by the session: local echo, the Enter-key settings (Keyboard), ENQ/ACK
// (ReceivePass), the control-code switch (ControlCharacters), the colour
// scheme and inverse video, the display width, caps lock, the cursor form and
// the host character set (TerminalState), and the eight user keys
// (FunctionKeys). Everything else (connection, window, printing, language,
// keyboard layout) stays in the settings for the parts of the program that
// use it.
#pragma once

#include "config/Settings.h"
#include "engine/TerminalState.h"

namespace kalvor {
class Session;
class SoftKeyView;
} // namespace kalvor

namespace kalvor::config {

// The engine's cursor form for a cursor style (form 1 is drawn as a block)
// and back.
int CursorFormFor(CursorStyle style);
CursorStyle CursorStyleFor(int cursorForm);

void ApplyUserKeys(const Settings& settings, Session& session);
void CollectUserKeys(const SoftKeyView& keys, Settings& settings);

// Applies every setting the session holds, then announces the change. The
// session lets these two reach the subsystems that hold the settings.
void ApplySettings(const Settings& settings, Session& session);
// Copies what the session holds into `settings`.
void CollectSettings(const Session& session, Settings& settings);

// The terminal preferences that SaveTermConfig keeps so that a preferences
// dialog (or the host) can go back to them: display width, colours, font,
// the key settings and the user keys, and the terminal's configuration
// switches (straps, mode bits, remote mode, bell, automatic line feed, ...).
struct TermPreferences {
    int DisplayWidth = 80;
    int ColorIndex = 0;
    bool InverseVideo = false;
    int FontIndex = 1;
    int KbEnterKey = 0;
    int NumEnterKey = 0;
    bool SmartReturn = false;
    bool ControlCodeFlag = false;
    int KeyboardLayout = 0;
    bool CapsLockMode = false;
    CursorStyle Cursor = CursorStyle::Block;
    std::string Language;
    std::string HostCharSet;
    std::array<FunctionKeyRecord, kUserKeys> Keys;

    // Configuration switches of the terminal.
    bool AutoLineFeed = false;
    int ModeBits = 0;
    bool RemoteMode = false;
    bool BellOn = true;
    bool MarginWrap = false;
    bool EightBitData = true;
    bool PreferenceC = false;
    bool PreferenceL = false;
    bool InputOption = false;
    Straps Strap;

    static TermPreferences From(const Settings& settings, const TerminalSettings& state);
    void Into(Settings& settings, TerminalSettings& state) const;
};

} // namespace kalvor::config
