// Host entries, serial settings and dial commands.
#include "comms/ConnectionRules.h"

#include <gtest/gtest.h>

namespace kalvor {
namespace {

ConnectionSettings WithHost(const std::string& entry)
{
    ConnectionSettings s;
    s.HostList = {entry};
    return s;
}

// A port after a colon or a space, comments in brackets anywhere, and the
// default port (23 unless set) for none or a bad one.
TEST(HostEntry, HostAndPortOfAnEntry)
{
    const struct {
        const char* entry;
        int defaultPort;
        const char* host;
        int port;
    } cases[] = {{"myhost:2323 [test machine]", 23, "myhost", 2323},
                 {"  [lab] myhost 2323  ", 23, "myhost", 2323},
                 {"myhost [no port here: 99]", 1570, "myhost", 1570},
                 {"h:telnet", 23, "h", 23},
                 {"h:70000", 23, "h", 23},
                 {"h:0", 23, "h", 23}};
    for (const auto& c : cases) {
        ConnectionSettings s = WithHost(c.entry);
        s.DefaultPort = c.defaultPort;
        const auto t = ConnectTelnet(s);
        EXPECT_EQ(t.Host, c.host) << c.entry;
        EXPECT_EQ(t.Port, c.port) << c.entry;
    }
}

TEST(HostEntry, DirectHostWinsOverTheList)
{
    ConnectionSettings s = WithHost("listed:1");
    s.DirectTarget = " 127.0.0.1 ";
    s.DirectPort = "2323";
    const auto t = ConnectTelnet(s);
    EXPECT_EQ(t.Host, "127.0.0.1");
    EXPECT_EQ(t.Port, 2323);
    EXPECT_EQ(HostEntryText(s), "127.0.0.1");
    s.DirectPort.clear();
    EXPECT_EQ(ConnectTelnet(s).Port, 23);
}

// The entry shown is trimmed with its comment; a comment left open runs to the end.
TEST(HostEntry, TextShownAndComments)
{
    EXPECT_EQ(HostEntryText(WithHost("  myhost:2323 [x]  ")), "myhost:2323 [x]");
    EXPECT_EQ(HostEntryText(ConnectionSettings{}), "");
    EXPECT_EQ(RemoveComments("a[b]c[d"), "ac");
    EXPECT_EQ(RemoveComments("[x][y]z"), "z");
}

// The port's number, the settings text with the parity letter, and the
// status panel's rate (rounded to thousands from 57600 on).
TEST(Serial, PortSettingsAndStatusTexts)
{
    EXPECT_EQ(PortNumber("COM 3"), 3);
    EXPECT_EQ(PortNumber("Com12"), 12);
    EXPECT_EQ(PortNumber("none"), 0);
    ConnectionSettings s;
    s.BaudRate = "9600";
    s.Parity = "Even";
    s.DataBits = "7";
    s.StopBits = "2";
    EXPECT_EQ(SerialSettingsText(s), "9600,E,7,2");
    s.Parity = "none";
    EXPECT_EQ(SerialSettingsText(s), "9600,N,7,2");
    EXPECT_EQ(BaudStatusText("56000", "COM 1"), "56000 baud at com1");
    EXPECT_EQ(BaudStatusText("57600", "COM1"), "58k baud at com1");
}

TEST(Serial, EightBitDataSetsDataBitsAndParity)
{
    const struct {
        bool EightBit;
        const char* Parity;
        const char* Bits;
        const char* ParityAfter;
    } cases[] = {
        {false, "None", "7", "Even"}, {false, "Odd", "7", "Odd"},  {false, "Mark", "7", "Mark"},
        {true, "Even", "8", "None"},  {true, "None", "8", "None"},
    };
    for (const auto& c : cases) {
        ConnectionSettings s;
        s.Parity = c.Parity;
        ApplyEightBitData(s, c.EightBit);
        EXPECT_EQ(s.DataBits, c.Bits) << c.EightBit << " " << c.Parity;
        EXPECT_EQ(s.Parity, c.ParityAfter) << c.EightBit << " " << c.Parity;
    }
}

TEST(Modem, DialCommands)
{
    ConnectionSettings s;
    EXPECT_FALSE(DialCommand(s).has_value());
    s.PhoneList = {"5551234"};
    EXPECT_EQ(DialCommand(s), "atdt 5551234\r");
    s.DialOutPrefix = "9";
    EXPECT_EQ(DialCommand(s), "atdt 9,5551234\r");
    s.DialOutPrefix = "9,";
    EXPECT_EQ(DialCommand(s), "atdt 9,5551234\r");
    s.DirectTarget = "777";
    EXPECT_EQ(DialCommand(s), "atdt 777\r");
}

} // namespace
} // namespace kalvor
