// The line grammar of a form file: a command word, then a parameter list
// travelling between a pair of delimiter characters that are dropped
// unexamined, read one token at a time (a token ends at a blank; a token
// opening with a double quote runs to the next one, both removed).
#pragma once

#include "forms/FormNumbers.h"

#include <string>
#include <string_view>

namespace kalvor::forms {

std::string_view TrimBlanks(std::string_view s);

// The next line of `text` from `pos` (CR, LF and CR LF end a line); false at
// the end of the text.
bool NextFormLine(std::string_view text, std::size_t& pos, std::string_view& line);

struct CommandLine {
    std::string Word;        // the command word in upper case, with its "/"
    std::string_view Params; // the parameter text without its delimiters, trimmed
    bool HasParams = false;  // false when fewer than two characters followed the word
};

// Splits a line; false for an empty line and a line that does not begin
// (after blanks) with "/".
bool SplitCommandLine(std::string_view line, CommandLine& out);

class ParamReader {
public:
    explicit ParamReader(std::string_view text) : rest_(text) {}

    bool AtEnd() const { return TrimBlanks(rest_).empty(); }
    // The next token; empty at the end.
    std::string_view Next();
    // The next token without taking it.
    std::string_view Peek() const;
    // The next token read by the leading-number rule (0 when there is none).
    double Number() { return LeadingNumber(Next()); }
    // Three percentages as a colour value.
    Colour Colour3();
    // Everything not yet read, with leading blanks removed, unchanged.
    std::string_view Rest() const;

private:
    std::string_view rest_;
};

} // namespace kalvor::forms
