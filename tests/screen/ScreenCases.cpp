// Runs every case of tests/screen/cases/*.case through kalvor-screen and
// compares the JSON it prints with the case's expectations.
#include "CaseFile.h"
#include "FileBytes.h"
#include "MiniJson.h"
#include "TempHome.h"
#include "Visible.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <spawn.h>
#include <sys/wait.h>
#include <fcntl.h>

extern char** environ;

namespace kalvor::test {
namespace {

namespace fs = std::filesystem;

std::vector<ScreenCase> AllCases()
{
    std::vector<ScreenCase> all;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(KALVOR_CASES_DIR))
        if (entry.path().extension() == ".case")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& f : files) {
        std::string error;
        auto cases = LoadCaseFile(f.string(), error);
        if (!error.empty()) {
            ScreenCase broken;
            broken.File = f.string();
            broken.Name = "LOAD ERROR: " + error;
            all.push_back(broken);
            continue;
        }
        all.insert(all.end(), cases.begin(), cases.end());
    }
    return all;
}

int RunProcess(const std::vector<std::string>& args, const fs::path& out, const fs::path& err)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    std::vector<char*> argv;
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// "B10 _5 @0" -> [("B",10),(" ",5),("@",0)]; "-" is an empty list.
std::string RunsText(const JsonValue& runs)
{
    if (runs.Array.empty())
        return "-";
    std::string s;
    for (const auto& pair : runs.Array) {
        if (!s.empty())
            s.push_back(' ');
        const std::string& attr = pair[0].String;
        s += attr == " " ? "_" : attr;
        s += std::to_string(pair[1].Int());
    }
    return s;
}

std::string Join(const std::vector<std::string>& v)
{
    std::string s;
    for (const auto& w : v)
        s += (s.empty() ? "" : " ") + w;
    return s.empty() ? "-" : s;
}

class ScreenCaseTest : public ::testing::TestWithParam<ScreenCase> {};

struct RunResult {
    JsonValue Root;
    std::string Replies;
};

// Runs kalvor-screen on the first `events` events of the case.
bool RunCase(const ScreenCase& c, std::size_t events, const fs::path& dir, RunResult& result, std::string& error)
{
    const fs::path eventsFile = dir / "events.txt";
    const fs::path replies = dir / "replies.bin";
    const fs::path out = dir / "out.json";
    const fs::path err = dir / "err.txt";
    {
        std::ofstream ev(eventsFile, std::ios::binary);
        for (std::size_t i = 0; i < events && i < c.Events.size(); ++i)
            ev << c.Events[i] << "\n";
    }
    std::vector<std::string> args{KALVOR_SCREEN_PATH, "--format", "json"};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    const bool wantReplies =
        std::any_of(c.Expect.begin(), c.Expect.end(), [](const Expectation& e) { return e.Kind == "replies"; });
    if (wantReplies) {
        args.push_back("--replies");
        args.push_back(replies.string());
    }
    if (!c.Script.empty()) {
        const fs::path script = dir / "case.zkt";
        std::ofstream sc(script, std::ios::binary);
        for (const std::string& line : c.Script)
            sc << line << "\r\n";
        args.push_back("--script");
        args.push_back(script.string());
    }
    args.push_back("--events");
    args.push_back(eventsFile.string());
    const int status = RunProcess(args, out, err);
    if (status != 0) {
        error = "kalvor-screen failed: " + ReadAll(err);
        return false;
    }
    auto json = ParseJson(ReadAll(out), error);
    if (!json)
        return false;
    result.Root = std::move(*json);
    result.Replies = wantReplies ? ReadAll(replies) : std::string();
    return true;
}

TEST_P(ScreenCaseTest, Matches)
{
    const ScreenCase& c = GetParam();
    ASSERT_EQ(c.Name.rfind("LOAD ERROR", 0), std::string::npos) << c.Name;
    TempHome home;
    const bool memory = std::find(c.Args.begin(), c.Args.end(), "--memory") != c.Args.end();

    RunResult run;
    std::size_t ranEvents = static_cast<std::size_t>(-1);
    for (const Expectation& e : c.Expect) {
        const std::string where = c.File + ":" + std::to_string(e.Line) + " (" + c.Name + ")";
        if (e.EventsBefore != ranEvents) {
            std::string error;
            ASSERT_TRUE(RunCase(c, e.EventsBefore, home.Path(), run, error)) << where << ": " << error;
            ranEvents = e.EventsBefore;
        }
        const JsonValue& root = run.Root;
        const JsonValue& rows = root[memory ? "memory" : "screen"];
        auto rowArg = [&]() -> const JsonValue& {
            const std::size_t n = e.Args.empty() ? 0 : static_cast<std::size_t>(std::stoul(e.Args[0]));
            return rows[n];
        };
        if (e.Kind == "cursor") {
            ASSERT_EQ(e.Args.size(), 2u) << where;
            EXPECT_EQ(std::to_string(root["cursor"]["row"].Int()) + " " + std::to_string(root["cursor"]["col"].Int()),
                      e.Args[0] + " " + e.Args[1])
                << where;
        } else if (e.Kind == "row") {
            ASSERT_EQ(e.Args.size(), 2u) << where;
            EXPECT_EQ(Visible(rowArg()["text"].String), Visible(e.Args[1])) << where;
        } else if (e.Kind == "enh" || e.Kind == "set" || e.Kind == "fields") {
            ASSERT_GE(e.Args.size(), 2u) << where;
            const std::vector<std::string> want(e.Args.begin() + 1, e.Args.end());
            EXPECT_EQ(RunsText(rowArg()[e.Kind]), Join(want)) << where;
        } else if (e.Kind == "linestart") {
            ASSERT_EQ(e.Args.size(), 2u) << where;
            EXPECT_EQ(std::to_string(rowArg()["linestart"].Int()), e.Args[1]) << where;
        } else if (e.Kind == "top" || e.Kind == "first" || e.Kind == "last" || e.Kind == "cols" || e.Kind == "rows") {
            ASSERT_EQ(e.Args.size(), 1u) << where;
            EXPECT_EQ(std::to_string(root[e.Kind].Int()), e.Args[0]) << where;
        } else if (e.Kind == "replies") {
            ASSERT_EQ(e.Args.size(), 1u) << where;
            EXPECT_EQ(Visible(run.Replies), Visible(e.Args[0])) << where;
        } else if (e.Kind == "script") {
            ASSERT_EQ(e.Args.size(), 2u) << where;
            const JsonValue& v = root["script"][e.Args[0]];
            const std::string got = v.Type == JsonValue::Kind::Bool ? (v.Bool ? "true" : "false") : v.String;
            EXPECT_EQ(Visible(got), Visible(e.Args[1])) << where << " script " << e.Args[0];
        } else if (e.Kind == "trace") {
            ASSERT_EQ(e.Args.size(), 1u) << where;
            const std::string log = ReadAll(home.Path() / "temp" / "zkdebug.txt");
            EXPECT_NE(log.find(e.Args[0]), std::string::npos) << where << ": no \"" << e.Args[0] << "\" in\n" << log;
        } else if (e.Kind == "selection") {
            const JsonValue& sel = root["selection"];
            std::string got = "none";
            if (sel.Type != JsonValue::Kind::Null)
                got = std::to_string(sel["start"][0].Int()) + " " + std::to_string(sel["start"][1].Int()) + " " +
                      std::to_string(sel["end"][0].Int()) + " " + std::to_string(sel["end"][1].Int()) +
                      (sel["rect"].Bool ? " rect" : "");
            EXPECT_EQ(got, Join(e.Args)) << where;
        } else if (e.Kind == "clipboard") {
            ASSERT_EQ(e.Args.size(), 1u) << where;
            EXPECT_EQ(Visible(root["clipboard"].String), Visible(e.Args[0])) << where;
        } else if (e.Kind == "screen") {
            for (std::size_t r = 0; r < rows.Array.size(); ++r) {
                std::string want = r < e.ScreenRows.size() ? e.ScreenRows[r] : std::string();
                while (!want.empty() && want.back() == ' ')
                    want.pop_back();
                EXPECT_EQ(Visible(rows[r]["text"].String), Visible(want)) << where << " row " << r;
            }
        } else {
            ADD_FAILURE() << where << ": unknown expectation " << e.Kind;
        }
    }
}

std::string CaseName(const ::testing::TestParamInfo<ScreenCase>& info)
{
    std::string stem = fs::path(info.param.File).stem().string();
    std::string name = stem + "_" + std::to_string(info.param.Line) + "_";
    for (char ch : info.param.Name)
        name.push_back(std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_');
    if (name.size() > 90)
        name.resize(90);
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, ScreenCaseTest, ::testing::ValuesIn(AllCases()), CaseName);

} // namespace
} // namespace kalvor::test
