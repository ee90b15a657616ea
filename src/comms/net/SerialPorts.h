// The machine's serial ports under the names the settings use: "COM" and a
// number. Entries of the file config/serialports.txt in the program folder
// come first ("COM 9 = /dev/ttyUSB3", one a line, "#" starts a comment), then
// the ports Qt finds: ttyS<k> is COM k+1, ttyUSB<k> COM 21+k, ttyACM<k>
// COM 41+k, and any other device the next free number from 61 on.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvor::net {

struct SerialPortEntry {
    std::string Name;   // "COM 1"
    std::string Device; // "/dev/ttyS0"
};

// Sorted by number; a number named in the file hides the device Qt found for it.
std::vector<SerialPortEntry> SerialPortList();
// The device of a port name by its number ("COM 3", "Com3").
std::optional<std::string> SerialDeviceFor(std::string_view portName);

} // namespace kalvor::net
