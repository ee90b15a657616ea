// What the forms-mode core needs from around it, as three small interfaces:
// the window that shows the form, the path its lines leave by (xmitchar),
// and the host pacing of the DC1/DC2 handshake. The flags it shares with the
// terminal side are one plain record.
#pragma once

#include "forms/FormDrawing.h"
#include "forms/InterpretScript.h"

#include <string_view>

namespace kalvor::forms {

// Program-wide switches shared by the terminal and the Canvo window.
struct FormsFlags {
    bool FormsActive = false;    // the terminal handed over; cleared by the Canvo receive loop
    bool ReceivingForm = false;  // a form's text is being written to the form file
    bool CloseRequested = false; // the Canvo window closes on the next timer tick
    bool ExitProtection = false; // ESC % k 1 U: the user may not close the Canvo window
};

class FormsWindow {
public:
    virtual ~FormsWindow() = default;
    // InterpretScript for a newly received form (interpreter settings from
    // their initial values), then show it. On a failure the window has shown
    // the fatal message and closes.
    virtual FormResult BuildForm(std::string_view formText) = 0;
    // Hides the window and releases its layers and edit controls.
    virtual void UnloadWindow() = 0;
    // DrawNewData for the object at an object-list position.
    virtual void RedrawObject(int position) = 0;
    // The focus marking (and the edit control) moved from one object-list
    // position to another; either may be 0.
    virtual void FocusMoved(int from, int to) = 0;
    // The mouse marking moved.
    virtual void MouseMoved(int from, int to) { (void)from, (void)to; }
    virtual void Bell() = 0;
    virtual void MessageBox(std::string_view title, std::string_view text) = 0;
    // GetSearchCoordinates: the rectangle of the object at a position, in
    // window pixels of the form.
    virtual Rect ObjectArea(int position) const = 0;
};

// xmitchar's sink: a line for the host.
class FormsOutput {
public:
    virtual ~FormsOutput() = default;
    virtual void xmitchar(std::string_view text) = 0;
};

// The DC1-received flag of the handshake: set when the host's DC1 arrived
// and no transmission waits for the next one.
class HostPacing {
public:
    virtual ~HostPacing() = default;
    virtual bool Dc1Received() const = 0;
};

// A host that is always ready (no handshake in the way).
class HostAlwaysReady final : public HostPacing {
public:
    bool Dc1Received() const override { return true; }
};

} // namespace kalvor::forms
