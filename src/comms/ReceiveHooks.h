// What the receive pass hands to subsystems outside the terminal engine: the
// log-on script, the forms-mode form download and the display.
#pragma once

#include "comms/ByteQueue.h"

namespace kalvor {

class ReceiveHooks {
public:
    virtual ~ReceiveHooks() = default;

    // Step 2: a script is running; run its commands until one has to wait.
    virtual bool ScriptRunning() { return false; }
    virtual void RunScriptStep() {}
    // The bookkeeping step of a running script when the pass finds nothing to do.
    virtual void ScriptIdleStep() {}

    // Step 6: a form download diverts received data to the form file.
    virtual bool FormDownloadActive() { return false; }
    virtual void DivertFormData(ByteQueue& buffer) { (void)buffer; }
    // The Canvo window is open: its own receive loop reads the buffer, so
    // the pass only gathers input and paces the host.
    virtual bool FormsWindowOpen() { return false; }

    // Paint the window from display memory.
    virtual void Repaint() {}

    // A connection delivered data between two ticks.
    virtual void DataArrived() {}
};

} // namespace kalvor
