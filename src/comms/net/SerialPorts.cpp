#include "comms/net/SerialPorts.h"

#include "base/ProgramFolder.h"
#include "comms/ConnectionRules.h"

#include <QSerialPortInfo>

#include <algorithm>
#include <fstream>
#include <map>

namespace kalvor::net {
namespace {

std::optional<int> Suffix(const std::string& name, std::string_view prefix)
{
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    int value = 0;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9' || value > 1000)
            return std::nullopt;
        value = value * 10 + (name[i] - '0');
    }
    return value;
}

void ReadMappingFile(std::map<int, std::string>& ports)
{
    std::ifstream in(ProgramFolder() / "config" / "serialports.txt");
    std::string line;
    while (std::getline(in, line)) {
        const auto hash = line.find('#');
        if (hash != std::string::npos)
            line.resize(hash);
        const auto eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const int number = PortNumber(line.substr(0, eq));
        const std::string device = Trim(std::string_view(line).substr(eq + 1));
        if (number > 0 && !device.empty())
            ports[number] = device;
    }
}

} // namespace

std::vector<SerialPortEntry> SerialPortList()
{
    std::map<int, std::string> fromFile;
    ReadMappingFile(fromFile);
    std::map<int, std::string> ports = fromFile;
    std::vector<std::string> others;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const std::string name = info.portName().toStdString();
        const std::string device = info.systemLocation().toStdString();
        std::optional<int> number;
        if (const auto k = Suffix(name, "ttyS"))
            number = *k + 1;
        else if (const auto u = Suffix(name, "ttyUSB"))
            number = *u + 21;
        else if (const auto a = Suffix(name, "ttyACM"))
            number = *a + 41;
        if (number) {
            if (fromFile.count(*number) == 0)
                ports.emplace(*number, device);
        } else {
            others.push_back(device);
        }
    }
    std::sort(others.begin(), others.end());
    int next = 61;
    for (const std::string& device : others) {
        while (ports.count(next) != 0)
            ++next;
        ports.emplace(next, device);
    }
    std::vector<SerialPortEntry> list;
    for (const auto& [number, device] : ports)
        list.push_back({"COM " + std::to_string(number), device});
    return list;
}

std::optional<std::string> SerialDeviceFor(std::string_view portName)
{
    const int number = PortNumber(portName);
    if (number <= 0)
        return std::nullopt;
    for (const SerialPortEntry& entry : SerialPortList())
        if (PortNumber(entry.Name) == number)
            return entry.Device;
    return std::nullopt;
}

} // namespace kalvor::net
