// Runs every case of tests/screen/cases/*.case through the headless terminal
// in this process: the case's options and events take the path of
// `kalvor-screen --format json` (ParseScreenOptions, RunScreen) and the JSON
// report is read back with Qt. An expectation names a member of that report,
// so a member the report gains is checked without a change here:
//   ? NAME [MEMBER|INDEX...] VALUE   the member's value, as text
//   ? row|enh|set|fields|linestart ROW VALUE...   a member of a screen row
//   ? cursor ROW COL, ? replies BYTES, ? trace TEXT, ? screen
#include "CaseFile.h"
#include "FileBytes.h"
#include "HeadlessTerminal.h"
#include "ScreenOptions.h"
#include "TempHome.h"
#include "Visible.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace kalvor::test {
namespace {

namespace fs = std::filesystem;

std::vector<ScreenCase> AllCases()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(KALVOR_CASES_DIR))
        if (entry.path().extension() == ".case")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<ScreenCase> all;
    for (const auto& f : files) {
        std::string error;
        auto cases = LoadCaseFile(f.string(), error);
        if (!error.empty()) {
            cases.assign(1, ScreenCase{});
            cases[0].File = f.string();
            cases[0].Name = "LOAD ERROR: " + error;
        }
        all.insert(all.end(), cases.begin(), cases.end());
    }
    return all;
}

std::string Latin1(const QJsonValue& v) { return v.toString().toLatin1().toStdString(); }

// Run strings ([["B",10],[" ",5]]) read "B10 _5" ("-" when empty); other
// values read as their text, numbers and booleans as JSON writes them.
std::string Text(const QJsonValue& v)
{
    if (v.isString())
        return Latin1(v);
    if (v.isBool())
        return v.toBool() ? "true" : "false";
    if (v.isDouble())
        return v.toDouble() == v.toInteger() ? std::to_string(v.toInteger()) : std::to_string(v.toDouble());
    if (v.isArray()) {
        const QJsonArray a = v.toArray();
        const bool runs = std::all_of(a.begin(), a.end(), [](const QJsonValue& p) {
            return p.isArray() && p.toArray().size() == 2 && p.toArray()[0].isString();
        });
        if (runs) {
            std::string s;
            for (const QJsonValue& p : a) {
                const std::string attr = Latin1(p.toArray()[0]);
                s += (s.empty() ? "" : " ") + (attr == " " ? "_" : attr) + std::to_string(p.toArray()[1].toInteger());
            }
            return s.empty() ? "-" : s;
        }
        return QJsonDocument(a).toJson(QJsonDocument::Compact).toStdString();
    }
    if (v.isObject())
        return QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact).toStdString();
    return "null";
}

// `path` names members of objects and indexes of arrays.
QJsonValue Member(QJsonValue v, const std::vector<std::string>& path)
{
    for (const std::string& step : path)
        v = v.isArray() ? v.toArray().at(std::stoi(step)) : v.toObject().value(QString::fromStdString(step));
    return v;
}

std::string Join(std::vector<std::string>::const_iterator from, std::vector<std::string>::const_iterator to)
{
    std::string s;
    for (; from != to; ++from)
        s += (s.empty() ? "" : " ") + *from;
    return s.empty() ? "-" : s;
}

// A member of the "forms" object by its dotted path (array items counted
// from 1, as the object list's positions are); arrays of plain values read
// "3,1,2".
std::string FormsValue(QJsonValue v, const std::string& path)
{
    for (std::size_t at = 0; at <= path.size();) {
        const std::size_t dot = std::min(path.find('.', at), path.size());
        const std::string step = path.substr(at, dot - at);
        v = v.isArray() ? v.toArray().at(std::stoi(step) - 1) : v.toObject().value(QString::fromStdString(step));
        at = dot + 1;
    }
    if (!v.isArray())
        return Text(v);
    std::string joined;
    for (const QJsonValue& item : v.toArray())
        joined += (joined.empty() ? "" : ",") + Text(item);
    return joined;
}

struct Report {
    QJsonObject Root;
    std::string Replies;
};

// Runs the first `events` events of the case, as kalvor-screen would.
std::optional<Report> RunEvents(const ScreenCase& c, std::size_t events, const fs::path& dir, std::string& error)
{
    const fs::path eventsFile = dir / "events.txt";
    const fs::path replies = dir / "replies.bin";
    {
        std::ofstream ev(eventsFile, std::ios::binary);
        for (std::size_t i = 0; i < events && i < c.Events.size(); ++i)
            ev << c.Events[i] << "\n";
    }
    std::vector<std::string> args{"--format", "json", "--events", eventsFile.string()};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    // Only a case that checks the replies runs connected.
    const bool connected =
        std::any_of(c.Expect.begin(), c.Expect.end(), [](const Expectation& e) { return e.Kind == "replies"; });
    if (connected)
        args.insert(args.end(), {"--replies", replies.string()});
    if (!c.Script.empty()) {
        const fs::path script = dir / "case.zkt";
        std::ofstream sc(script, std::ios::binary);
        for (const std::string& line : c.Script)
            sc << line << "\r\n";
        args.insert(args.end(), {"--script", script.string()});
    }
    const auto options = ParseScreenOptions(args, error);
    if (!options)
        return std::nullopt;
    std::ostringstream out;
    std::ostringstream err;
    if (RunScreen(*options, out, err) != 0) {
        error = "kalvor-screen failed: " + err.str();
        return std::nullopt;
    }
    QJsonParseError parse;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(out.str()), &parse);
    if (!doc.isObject()) {
        error = "bad report: " + parse.errorString().toStdString();
        return std::nullopt;
    }
    return Report{doc.object(), connected ? ReadAll(replies) : std::string()};
}

class ScreenCaseTest : public ::testing::TestWithParam<ScreenCase> {};

TEST_P(ScreenCaseTest, Matches)
{
    const ScreenCase& c = GetParam();
    ASSERT_EQ(c.Name.rfind("LOAD ERROR", 0), std::string::npos) << c.Name;
    TempHome home;
    std::optional<Report> run;
    std::size_t ranEvents = static_cast<std::size_t>(-1);
    for (const Expectation& e : c.Expect) {
        const std::string where = c.File + ":" + std::to_string(e.Line) + " (" + c.Name + ")";
        if (e.EventsBefore != ranEvents) {
            std::string error;
            run = RunEvents(c, e.EventsBefore, home.Path(), error);
            ASSERT_TRUE(run) << where << ": " << error;
            ranEvents = e.EventsBefore;
        }
        const QJsonObject& root = run->Root;
        const QJsonArray rows = root.contains("memory") ? root["memory"].toArray() : root["screen"].toArray();
        const auto& a = e.Args;
        if (e.Kind == "cursor") {
            ASSERT_EQ(a.size(), 2u) << where;
            EXPECT_EQ(Text(root["cursor"]["row"]) + " " + Text(root["cursor"]["col"]), a[0] + " " + a[1]) << where;
        } else if (e.Kind == "replies") {
            ASSERT_EQ(a.size(), 1u) << where;
            EXPECT_EQ(Visible(run->Replies), Visible(a[0])) << where;
        } else if (e.Kind == "forms") {
            ASSERT_EQ(a.size(), 2u) << where;
            EXPECT_EQ(Visible(FormsValue(root["forms"], a[0])), Visible(a[1])) << where << " forms " << a[0];
        } else if (e.Kind == "trace") {
            ASSERT_EQ(a.size(), 1u) << where;
            const std::string log = ReadAll(home.Path() / "temp" / "zkdebug.txt");
            EXPECT_NE(log.find(a[0]), std::string::npos) << where << ": no \"" << a[0] << "\" in\n" << log;
        } else if (e.Kind == "selection") {
            const QJsonValue sel = root["selection"];
            std::string got = "none";
            if (sel.isObject())
                got = Text(sel["start"][0]) + " " + Text(sel["start"][1]) + " " + Text(sel["end"][0]) + " " +
                      Text(sel["end"][1]) + (sel["rect"].toBool() ? " rect" : "");
            EXPECT_EQ(got, Join(a.begin(), a.end())) << where;
        } else if (e.Kind == "screen") {
            for (qsizetype r = 0; r < rows.size(); ++r) {
                std::string want = r < std::ssize(e.ScreenRows) ? e.ScreenRows[r] : std::string();
                want.erase(want.find_last_not_of(' ') + 1);
                EXPECT_EQ(Visible(Latin1(rows[r]["text"])), Visible(want)) << where << " row " << r;
            }
        } else if (const QString key = QString::fromStdString(e.Kind == "row" ? "text" : e.Kind);
                   !rows.isEmpty() && rows[0].toObject().contains(key)) {
            ASSERT_GE(a.size(), 2u) << where;
            const QJsonValue v = rows.at(std::stoi(a[0]))[key];
            EXPECT_EQ(Visible(Text(v)), Visible(v.isArray() ? Join(a.begin() + 1, a.end()) : a[1])) << where;
        } else {
            ASSERT_FALSE(a.empty()) << where;
            const QJsonValue v = Member(root[key], {a.begin(), a.end() - 1});
            ASSERT_FALSE(v.isUndefined()) << where << ": no " << e.Kind << " in the report";
            EXPECT_EQ(Visible(Text(v)), Visible(a.back())) << where;
        }
    }
}

std::string CaseName(const ::testing::TestParamInfo<ScreenCase>& info)
{
    std::string name =
        fs::path(info.param.File).stem().string() + "_" + std::to_string(info.param.Line) + "_" + info.param.Name;
    for (char& ch : name)
        ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    name.resize(std::min<std::size_t>(name.size(), 90));
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, ScreenCaseTest, ::testing::ValuesIn(AllCases()), CaseName);

} // namespace
} // namespace kalvor::test
