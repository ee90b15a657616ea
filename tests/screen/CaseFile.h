// Case files for the headless terminal (kalvor-screen) tests.
//
//   # comment
//   args --rows 5               options for every case of the file (before the first case)
//   case NAME                   starts a case
//   args --cols 132             more options for this case
//   host \e&a5c10Yhi            events, passed to kalvor-screen --events as they stand
//   ? cursor 10 7               expected cursor (screen row, column)
//   ? row 10 "     hi"          expected text of screen row 10 (memory row with --memory)
//   ? enh 10 _5 B0              expected CntlBuf runs ("_" is the space attribute, "-" none)
//   ? set 10 -                  ShiftBuf runs;  ? fields N ...  FormBuf runs
//   ? linestart 10 5            LineStartCol
//   ? top 0 / ? first 0 / ? last 3
//   ? replies "\e&a005c010Y\r"  every byte transmitted (the case runs connected)
//   ? selection 0 5 2 9 rect    the marked region in screen rows and columns, or "none"
//   ? clipboard "ab\r\n"         the headless clipboard's text
//   ? screen                    the whole screen: following lines "|text" give rows
//   |row 0                      0, 1, ...; rows not given must be empty
//   script XMIT guest           a line of the case's log-on script (event escapes,
//                               so "\\013" is the script's own \013); the case
//                               runs with kalvor-screen --script
//   ? script caption "Demo  | Kalvor"   a member of the JSON "script" object
//   ? trace "Script XMIT: guest"        text in the communications log
//   ? NAME [MEMBER|INDEX...] VALUE      any other member of the report, by
//                               its path (e.g. "? script running true"); run
//                               strings read "B10 _5", objects as compact JSON
//   ? forms objects.2.text "Ada"        a member of the JSON "forms" object by
//                               its path (array items counted from 1); arrays
//                               of plain values read as "3,1,2"
// Expectations are checked after the events above them: events after an
// expectation continue the same run from the start.
#pragma once

#include <string>
#include <vector>

namespace kalvor::test {

struct Expectation {
    std::string Kind; // cursor, row, enh, set, fields, linestart, top, first, last, replies, screen
    std::vector<std::string> Args;
    std::vector<std::string> ScreenRows; // for "screen"
    int Line = 0;
    std::size_t EventsBefore = 0; // checked after this many events
};

struct ScreenCase {
    std::string File;
    std::string Name;
    int Line = 0;
    std::vector<std::string> Args;
    std::vector<std::string> Events;
    std::vector<std::string> Script; // log-on script lines, when the case has one
    std::vector<Expectation> Expect;
};

std::vector<ScreenCase> LoadCaseFile(const std::string& path, std::string& error);

// Splits a directive's arguments: words, or "quoted text" with event escapes.
bool SplitArgs(const std::string& text, std::vector<std::string>& out);

} // namespace kalvor::test

#include <ostream>
namespace kalvor::test {
inline void PrintTo(const ScreenCase& c, std::ostream* os) { *os << c.File << ":" << c.Line << " " << c.Name; }
} // namespace kalvor::test
