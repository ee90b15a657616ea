// RegZKFonts: the terminal's fonts registered at start-up. A font file put
// into the program folder's "fonts" folder (under the installed file's
// name) is taken before the installed one. When a font cannot be loaded,
// error 5998 is reported (location "RegZKFonts") and the program goes on
// with what was loaded; the renderer then falls back to the system's
// fixed-pitch font for the missing face.
#pragma once

#include "logging/ErrorReport.h"
#include "render/FontFiles.h"

namespace kalvor::ui {

// The files to register: each installed file, or its namesake in the
// program folder's "fonts" folder when that exists.
render::TerminalFontFiles ProgramFontFiles(const render::TerminalFontFiles& installed = render::DefaultFontFiles());

// Registers the files (once per process, see LoadTerminalFonts). Returns
// true when every face was loaded.
bool RegZKFonts(logging::ErrorReport& errors, const render::TerminalFontFiles& files = ProgramFontFiles());

} // namespace kalvor::ui
