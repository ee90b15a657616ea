// What the engine asks of format mode. While format mode is on, the host's
// text, the local echo of typed keys and the editing routines act on the
// fields of the form (the FormBuf run strings of display memory) instead of on
// whole rows; the field rules live with the keyboard side, which implements
// this interface. The terminal reaches it through TerminalHooks::FormatFields;
// without one the engine acts as outside format mode.
#pragma once

#include <string_view>

namespace kalvor {

class FormatModeHandler {
public:
    virtual ~FormatModeHandler() = default;

    // Writes `text` (printable codes, no controls) at the cursor, confined to
    // unprotected fields: from a protected column the cursor first moves on
    // to the next unprotected field, a full field moves the writing on to the
    // next one, and insert mode shifts characters inside the field only.
    // Returns false, writing nothing, when display memory holds no
    // unprotected field at all; the text is then written as outside format
    // mode.
    virtual bool WriteInFields(std::string_view text) = 0;
    // Tab (HT, the Tab key): to the start of the next unprotected field;
    // `backward`: back tab, to the start of the current or previous one.
    virtual void TabToField(bool backward) = 0;
    // Home, Page Up, Page Down: the cursor to the first unprotected field,
    // searching from the top of the screen.
    virtual void CursorFirstField() = 0;
    // Delete character: inside the unprotected field under the cursor only.
    virtual void DeleteInField() = 0;
    // Clear line: the unprotected field under the cursor, from the cursor on.
    virtual void ClearField() = 0;
    // Clear display: every unprotected field of the screen; captions stay.
    virtual void ClearDisplay() = 0;
};

} // namespace kalvor
