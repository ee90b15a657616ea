// Settings and a session: applying a configuration, collecting it back, and
// the configuration's answers to the session (host-defined user keys,
// SaveTermConfig, ESC k, hard reset, Open).
#include "ConfigTestSupport.h"
#include "SessionInternals.h"

#include "base/Clock.h"
#include "config/Configuration.h"
#include "config/SessionSettings.h"
#include "config/SettingKeys.h"
#include "config/SettingsFile.h"
#include "engine/ColorSchemes.h"
#include "engine/ExtendedChars.h"
#include "RecordingObserver.h"
#include "session/Session.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kalvor::config {
namespace {

using test::AllSet;
using test::ReadAll;
using test::ShownErrors;
using test::TempHome;

class SessionSettingsTest : public ::testing::Test {
protected:
    TempHome home;
    ManualClock clock;
    Session session{clock};
    TerminalState& st = Internals(session).State();
    test::RecordingObserver observer;

    void SetUp() override { session.SetObserver(&observer); }
    void Host(std::string_view text)
    {
        Internals(session).Receive().AppendLocal(text);
        Internals(session).Receive().PollingCommBuffer();
    }
};

TEST_F(SessionSettingsTest, ApplyThenCollectGivesTheSessionsSettingsBack)
{
    ApplySettings(AllSet(), session);
    // What the settings set up beyond themselves.
    const SchemeColors colors = ColorSchemeColors(5, true);
    EXPECT_EQ(st.Foreground, colors.Foreground);
    EXPECT_EQ(st.Background, colors.Background);
    EXPECT_EQ(st.SavedCursorForm, 2);
    EXPECT_EQ(st.ExtendChar, ExtendCharTable(false));
    EXPECT_GT(observer.StateChanges, 0);
    // Every setting the session holds comes back.
    Settings collected;
    CollectSettings(session, collected);
    Settings expected;
    for (int key : {4, 8, 11, 14, 27, 28, 29, 30, 32, 33, 72, 73, 74, 75, 76, 77, 78, 79, 80, 81, 82})
        DecodeValue(expected, key, EncodeValue(AllSet(), key));
    EXPECT_EQ(collected, expected);
}

// The defaults leave a default session alone, margins too (the width is
// changed only when it differs).
TEST_F(SessionSettingsTest, DefaultsLeaveADefaultSessionAloneAndWidthChangesOnlyWhenDifferent)
{
    Session fresh(clock);
    st.Mem.LeftMargin = 4;
    Settings s;
    ApplySettings(s, session);
    EXPECT_EQ(st.Mem.LeftMargin, 4);
    const TerminalState& b = fresh.State();
    EXPECT_EQ(std::tie(st.ColorScheme, st.Foreground, st.Mem.ColsInTerm, st.CursorForm, st.HostRoman8, st.CapsLock),
              std::tie(b.ColorScheme, b.Foreground, b.Mem.ColsInTerm, b.CursorForm, b.HostRoman8, b.CapsLock));
    s.DisplayWidth = 200;
    ApplySettings(s, session);
    EXPECT_EQ(st.Mem.LeftMargin, 0);
}

// A configuration attached to a session.
class AttachedTest : public SessionSettingsTest {
protected:
    struct AppliedCount final : ConfigurationObserver {
        int Count = 0;
        void SettingsApplied(const Settings&) override { ++Count; }
    };
    logging::ErrorReport& errors = Internals(session).Errors();
    ShownErrors shown;
    AppliedCount applied;
    Configuration cfg{errors, &applied};
    std::filesystem::path file = home.Path() / "config" / "default.zkd";

    void SetUp() override
    {
        SessionSettingsTest::SetUp();
        shown.Attach(errors);
        cfg.Attach(session);
        cfg.Load();
    }
    Settings OnFile()
    {
        Settings read;
        EXPECT_EQ(ReadSettingsFile("config/default.zkd", read), 0);
        return read;
    }
};

// What the host defines is recorded in the file at once: a user key, a
// colour scheme, the Enter keys with "S" (not without); once detached,
// nothing more.
TEST_F(AttachedTest, HostDefinitionsAreRecordedAtOnceUntilDetached)
{
    Host("\x1b&f3k1a5d2LLogonOK");
    Settings expected;
    expected.Keys[2] = {FunctionKeyRecord::kLocal, "Logon", "", "OK"};
    EXPECT_EQ(ReadAll(file), FormatSettingsFile("config/default.zkd", expected));
    Host("\x1b%xwobI");
    expected.ColorIndex = 5;
    expected.InverseVideo = true;
    EXPECT_EQ(OnFile(), expected);
    Host("\x1b&f154p1S");
    EXPECT_TRUE(Internals(session).Keys().Enter.SmartEnter);
    expected.SmartReturn = true;
    expected.NumEnterKey = 1;
    EXPECT_EQ(OnFile(), expected);
    Host("\x1b&f149P");
    EXPECT_EQ(OnFile(), expected) << "without \"S\" nothing is saved";
    EXPECT_TRUE(shown.Windows.empty());
    cfg.Detach();
    Host("\x1b&f4k1a5d2LOtherNO");
    EXPECT_EQ(OnFile(), expected);
}

TEST_F(AttachedTest, EscKPutsTheConfiguredUserKeysBack)
{
    cfg.Values().Keys[4] = {FunctionKeyRecord::kNormal, "Five", "", "five"};
    Internals(session).FuncKeys().SetUserKey(4, "Other", "", 2, "other");
    Host("\x1bk");
    EXPECT_EQ(Internals(session).FuncKeys().UserKeyString(4), "five");
    EXPECT_EQ(Internals(session).FuncKeys().Label(FunctionKeys::kUserSet, 4).Line1, "Five");
}

TEST_F(AttachedTest, SaveTermConfigKeepsAndRestoresThePreferences)
{
    st.Strap.A = true;
    st.AutoLineFeed = true;
    cfg.SaveTermConfig(true);
    EXPECT_TRUE(cfg.TermConfigPending());

    // A preferences dialog (or the host) changes things...
    cfg.Values().DisplayWidth = 200;
    cfg.Values().ColorIndex = 9;
    cfg.Values().FontIndex = 0;
    cfg.Values().Keys[0].Text = "changed";
    cfg.ApplyToSession();
    st.Strap.A = false;
    st.AutoLineFeed = false;
    st.ModeBits = kBlockMode;
    EXPECT_EQ(st.Mem.ColsInTerm, 200);

    // ... and is cancelled.
    const int before = applied.Count;
    cfg.SaveTermConfig(false);
    EXPECT_FALSE(cfg.TermConfigPending());
    EXPECT_EQ(applied.Count, before + 1);
    EXPECT_EQ(st.Mem.ColsInTerm, 80);
    EXPECT_EQ(cfg.Values().FontIndex, 1);
    EXPECT_EQ(Internals(session).FuncKeys().UserKeyString(0), "\x1bp");
    EXPECT_TRUE(st.Strap.A);
    EXPECT_EQ(st.ModeBits, 0);

    // Nothing kept: restoring does nothing.
    cfg.SaveTermConfig(false);
    EXPECT_EQ(applied.Count, before + 1);
}

TEST_F(AttachedTest, HostSavesAndRestoresWithEscF)
{
    Host("\x1b&f-1B"); // the value -1 keeps a copy
    EXPECT_TRUE(cfg.TermConfigPending());
    st.ColorScheme = 4;
    Host("\x1b&f1B"); // the value 1 restores it
    EXPECT_FALSE(cfg.TermConfigPending());
    EXPECT_EQ(st.ColorScheme, 0);
}

// Open applies the new file, and a hard reset reads the current one again.
TEST_F(AttachedTest, OpenAndHardResetApplyTheFile)
{
    ASSERT_EQ(CreateSettingsFile("config/other.zkd", AllSet()), 0);
    ASSERT_EQ(cfg.Open(home.Path() / "config" / "other.zkd"), 0);
    EXPECT_EQ(cfg.CurrentFile(), "config/other.zkd");
    EXPECT_EQ(st.ColorScheme, 5);
    EXPECT_EQ(Internals(session).FuncKeys().UserKeyString(0), "HELLO\r");
    ApplySettings(Settings{}, session);
    cfg.Values() = Settings{};
    Host("\x1b"
         "E");
    EXPECT_EQ(st.ColorScheme, 5);
    EXPECT_EQ(st.Mem.ColsInTerm, 132);
    EXPECT_EQ(Internals(session).FuncKeys().UserKeyString(1), "ls -l\\x");
    EXPECT_EQ(cfg.Values().BaudRate, "9600");
}

} // namespace
} // namespace kalvor::config
