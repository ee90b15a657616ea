// Run strings: the per-row attribute encoding shared by CntlBuf (enhancements),
// ShiftBuf (character set) and FormBuf (format-mode fields).
//
//   ""                      the row carries no such attribute
//   H (a1 n1) (a2 n2) ...   H = sum of all lengths = column where the last run
//                           starts; each run is an attribute character and a
//                           length character; the last run has length 0 ("to
//                           the end of the row"). Runs cover the row from
//                           column 0 without gaps.
//
// Every character is a byte; lengths and the header are unsigned 8-bit values
// (rows never exceed 200 columns). Writers keep runs gap-free, ordered and
// consistent with the header. Character-set and field runs merge neighbours
// with equal attributes; enhancement runs keep every run start (below).
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>

namespace kalvor {

// What a writer does with two neighbouring runs of the same attribute.
// Enhancement runs (CntlBuf) keep them apart: every run start is a place where
// the host set an enhancement, as the terminal keeps it, and a later ESC & d
// at that column replaces the run from there up to the next start only.
// Character-set runs (one attribute per written cell) and field runs merge.
enum class Neighbours { Merge, KeepStarts };

// A run string expanded to one attribute per column, for editing. Columns at
// or beyond `Header` take the open-ended attribute `Tail`.
struct ExpandedRuns {
    static constexpr int kMaxHeader = 255;
    std::array<char, kMaxHeader + 1> Col{};
    // Start[c]: a run starts at column c (Start[Header]: the open-ended run's
    // own start). Only KeepStarts encodings read it.
    std::bitset<kMaxHeader + 1> Start;
    int Header = 0;
    char Tail = ' ';
    Neighbours Mode = Neighbours::Merge;

    static ExpandedRuns Expand(std::string_view encoded, Neighbours mode = Neighbours::Merge);
    // Writes the canonical encoding into `out`, reusing its capacity: equal
    // neighbours merged, except at the starts KeepStarts keeps.
    void EncodeTo(std::string& out) const;

    char At(int col) const { return col < Header ? Col[col] : Tail; }
    // Makes columns up to `col` explicit (the header moves right to `col`).
    void ExtendTo(int col);
    // Column where the run containing `col` ends (exclusive); Header when the
    // run is the open-ended one.
    int RunEnd(int col) const;
    // Removes columns [col, col + count) of those before `end`, moving the
    // rest up to `end` left; the last `count` columns before `end` keep their
    // attributes. Run starts move with their columns; a start among the
    // removed columns moves to `col`.
    void RemoveBefore(int end, int col, int count);

private:
    bool Splits(int col) const { return Mode == Neighbours::KeepStarts && Start[static_cast<std::size_t>(col)]; }
};

namespace runstring {

inline int Header(std::string_view s) { return s.empty() ? 0 : static_cast<std::uint8_t>(s[0]); }

// Marks a run string whose three-character form is never replaced as empty.
constexpr char kNeverBlank = '\0';

// A string of three characters (header and one run over the whole row) counts
// as empty for the next writer only when its attribute carries nothing: the
// space attribute or `none` (no enhancement, the base set). A real attribute
// from column 0 on is kept.
inline bool IsBlankForWriter(std::string_view s, char none)
{
    return s.size() < 3 || (s.size() == 3 && none != kNeverBlank && (s[1] == ' ' || s[1] == none));
}

// The attribute at `col`, or `none` when the string is empty.
char AttributeAt(std::string_view s, int col, char none = ' ');

// Records that attribute `attr` starts at `col`. An empty string (or a
// three-character one that IsBlankForWriter(s, none) finds blank) becomes: header col, the pair
// (filler, col) when col > 0, then (attr, 0). Otherwise: at the header the
// open-ended run takes `attr`; beyond it the open run is closed and `attr`
// runs to the end of the row; inside the explicit runs the run containing
// `col` is split and `attr` reaches to the end of that run.
void MarkFrom(std::string& s, char attr, int col, char none = kNeverBlank, char filler = ' ',
              Neighbours mode = Neighbours::Merge);

// True when every column of [col, col + count) carries `attr`; the space
// attribute counts as `blankAs`.
bool RangeIs(std::string_view s, int col, int count, char attr, char blankAs);

// Gives columns [col, col + count) attribute `attr`; the columns after them
// keep theirs.
void MarkRange(std::string& s, char attr, int col, int count);

// Removes `count` columns from `col` on (the runs covering them shrink, runs
// that become empty disappear, the header drops). Columns in the open-ended
// run (col >= header) change nothing.
std::string RemoveColumns(std::string_view s, int col, int count, Neighbours mode = Neighbours::Merge);

// Clears the attributes from `col` to the end of the row (erase to end of
// line): those columns take the space attribute. A string left with no
// explicit attribute becomes empty.
void ClearFrom(std::string& s, int col, Neighbours mode = Neighbours::Merge);

// Inserts `count` columns at `col`, taking the attribute of the column they
// push right. Columns in the open-ended run change nothing.
std::string InsertColumns(std::string_view s, int col, int count);

} // namespace runstring
} // namespace kalvor
