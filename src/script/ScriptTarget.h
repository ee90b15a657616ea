// The automatic connect of a log-on script: the target of its ADDR or DIAL
// line becomes the connection settings' directly given target, which the
// connect command prefers to the host and phone lists.
#pragma once

#include "comms/ConnectionSettings.h"
#include "script/ScriptState.h"

namespace kalvor::script {

// ADDR: host and port given directly (entry type "ADDR", a network
// connection). DIAL: the number given directly (entry type "DIAL", the
// serial line), and the serial port when the line names one. Without a
// target the settings are left alone.
void ApplyTarget(const ScriptState& state, ConnectionSettings& settings);

} // namespace kalvor::script
