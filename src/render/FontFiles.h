// The font files the terminal draws with, kept in one place: Terminus for
// the cell sizes it draws natively, DejaVu Sans Mono for the others and for
// the small two-letter names of control characters. Both are registered with
// the application's font database once, from the files below.
#pragma once

#include <QString>
#include <QStringList>

namespace kalvor::render {

struct TerminalFontFiles {
    QString Terminus;   // bitmap-style face with native 6x12, 8x16, 10x20, 12x24, 14x28, 16x32 cells
    QString DejaVuMono; // outline face for every other cell size
};

// The installed files (Debian's fonts-terminus and fonts-dejavu-core).
TerminalFontFiles DefaultFontFiles();

// The family names after registration; empty when a file could not be
// loaded (the system's fixed-pitch font is used instead).
struct TerminalFontFamilies {
    QString Terminus;
    QString DejaVuMono;
};

// Registers the files with QFontDatabase (once per process; later calls
// return the first result). Needs a QGuiApplication.
const TerminalFontFamilies& LoadTerminalFonts(const TerminalFontFiles& files = DefaultFontFiles());

} // namespace kalvor::render
