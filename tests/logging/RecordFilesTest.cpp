// Record mode: the printer and file record files, saving the record file
// under a chosen name, and the session's record key.
#include "FakeConnection.h"
#include "FileBytes.h"
#include "RecordingObserver.h"
#include "RecordingSideFiles.h"
#include "SessionInternals.h"
#include "ShownErrors.h"
#include "TempHome.h"

#include "base/Clock.h"
#include "logging/RecordFiles.h"
#include "session/Session.h"

#include <gtest/gtest.h>

namespace kalvor::logging {
namespace {

using test::ReadAll;
using test::ShownErrors;
using test::TempHome;

class RecordFilesTest : public ::testing::Test {
protected:
    TempHome home;
    ErrorReport errors;
    ShownErrors shown;
    test::RecordingSideFiles window;
    RecordFiles rec{errors, window};
    std::filesystem::path recordFile = home.Path() / "temp" / "zkrec.txt";
    std::filesystem::path target = home.Path() / "saved.txt";
    std::vector<std::string>& printed = window.Printed;
    std::vector<std::string>& questions = window.Questions;
    std::optional<std::filesystem::path>& answerName = window.FileName;
    bool& answerYes = window.Yes;

    void SetUp() override { shown.Attach(errors); }
};

// Ending record mode asks for a name, and before replacing a file; the
// temporary record file goes in every case.
TEST_F(RecordFilesTest, EndingSavesTheRecordFileAsTheUserAnswers)
{
    const std::string ask = "Save Record File As";
    const std::string replace = "Save Record File|File exists. Replace current file?";
    struct Row {
        const char* Name;
        const char* Old; // the file already there, or null
        bool Chosen;     // a name is chosen (else the chooser is cancelled)
        bool Yes;        // the answer to "replace?"
        const char* Saved;
        std::vector<std::string> Questions;
    };
    const Row rows[] = {
        {"new file", nullptr, true, false, "recorded", {ask}},
        {"replace: no", "old contents", true, false, "old contents", {ask, replace}},
        {"replace: yes", "old contents that are longer", true, true, "recorded", {ask, replace}},
        {"cancelled", nullptr, false, false, nullptr, {ask}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.Name);
        std::filesystem::remove(target);
        if (r.Old != nullptr)
            test::WriteAll(target, r.Old);
        questions.clear();
        answerName = r.Chosen ? std::optional(target) : std::nullopt;
        answerYes = r.Yes;
        ASSERT_EQ(rec.TurnOnRecordMode(RecordFiles::kToFile), 0);
        rec.Write("recorded");
        ASSERT_EQ(rec.TurnOffRecordMode(), 0);
        EXPECT_EQ(questions, r.Questions);
        if (r.Saved != nullptr)
            EXPECT_EQ(ReadAll(target), r.Saved);
        else
            EXPECT_FALSE(std::filesystem::exists(target));
        EXPECT_FALSE(std::filesystem::exists(recordFile));
        EXPECT_TRUE(printed.empty());
    }
}

TEST_F(RecordFilesTest, SavingIntoAMissingFolderIsReported)
{
    answerName = home.Path() / "nowhere" / "x.txt";
    ASSERT_EQ(rec.TurnOnRecordMode(RecordFiles::kToFile), 0);
    rec.Write("x");
    EXPECT_EQ(rec.TurnOffRecordMode(), 76);
    ASSERT_EQ(shown.Windows.size(), 1u);
    EXPECT_EQ(shown.Windows[0].Location, "SaveRecordFile");
}

TEST_F(RecordFilesTest, FailureToOpenIsReportedPerFile)
{
    std::filesystem::create_directories(recordFile / "blocked");
    EXPECT_NE(rec.TurnOnRecordMode(RecordFiles::kToPrinter | RecordFiles::kToFile), 0);
    EXPECT_TRUE(rec.PrinterOpen());
    EXPECT_FALSE(rec.FileOpen());
    ASSERT_EQ(shown.Windows.size(), 1u);
    EXPECT_EQ(shown.Windows[0].Location, "TurnOnRecordMode");
    EXPECT_EQ(shown.Windows[0].FileName, "temp/zkrec.txt");
}

// The record key of the session: host output with mnemonics into the file,
// then "S" CR to the host when recording ends.
class SessionRecordTest : public ::testing::Test {
protected:
    TempHome home;
    ManualClock clock;
    Session session{clock};
    test::FakeConnection net;
    std::filesystem::path target = home.Path() / "kept.txt";
    test::RecordingObserver observer;
    std::vector<std::string>& printed = observer.Printed;

    void SetUp() override
    {
        net.NetKind = NetworkKind::TelnetAdvanced;
        session.SetConnection(net);
        observer.FileName = target;
        session.SetObserver(&observer);
    }
    void Host(std::string_view text)
    {
        Internals(session).Receive().AppendLocal(text);
        Internals(session).Receive().PollingCommBuffer();
    }
    void RecordKey() { Internals(session).FuncKeys().ExecFuncKey(FunctionKeys::kRecordSet, 1, 0); }
};

TEST_F(SessionRecordTest, RecordsHostOutputWithMnemonicsToTheFile)
{
    Internals(session).State().OutputRouting = FunctionKeys::kToDisplay | FunctionKeys::kToFile;
    RecordKey();
    Host("ab\acd\r\n");
    RecordKey();
    EXPECT_FALSE(Internals(session).Records().On());
    EXPECT_EQ(ReadAll(target), "ab<bell>cd\r\n");
    EXPECT_EQ(net.Written(), "S\r");
    EXPECT_EQ(Internals(session).Receive().CommBuffer().Size(), 2u); // shown locally on Telnet
}

// ESC & p from the host: device 9 starts recording at once (state 2) with
// the record files of the output routing, another device leaves it off;
// text kept off the display is copied as it came.
TEST_F(SessionRecordTest, HostDeviceNineStartsRecording)
{
    Internals(session).State().OutputRouting = FunctionKeys::kToFile;
    Host("\x1b&p4u1C");
    EXPECT_EQ(session.State().RecordMode, 0);
    Host("\x1b&p9u1C");
    EXPECT_EQ(session.State().RecordMode, 2);
    Host("x\ay\r\n");
    RecordKey();
    EXPECT_EQ(ReadAll(target), "x\ay\r\n");
}

TEST_F(SessionRecordTest, NothingShownLocallyOverSsh)
{
    net.NetKind = NetworkKind::Ssh2;
    Internals(session).State().OutputRouting = FunctionKeys::kToDisplay | FunctionKeys::kToPrinter;
    RecordKey();
    Host("page\r\n");
    RecordKey();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], "page\r\n");
    EXPECT_FALSE(std::filesystem::exists(home.Path() / "temp" / "zkprnt.txt"));
    EXPECT_TRUE(observer.Questions.empty()) << "the printer alone asks nothing";
    EXPECT_EQ(net.Written(), "S\r");
    EXPECT_TRUE(Internals(session).Receive().CommBuffer().Empty());
}

} // namespace
} // namespace kalvor::logging
