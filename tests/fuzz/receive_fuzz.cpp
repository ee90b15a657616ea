// Fuzz target for the receive side: host output of any shape, cut into chunks
// at points the input chooses, delivered through the local-echo path, a
// network connection or a serial line, interpreted by receive ticks on a
// simulated clock. After every tick the display memory invariants must hold;
// a violation is reported on stderr and ends the run with a trap.
//
// Input layout (FuzzedDataProvider): three configuration bytes from the
// front, then a loop that takes two control bytes from the back and a chunk
// of host data from the front, until the input is used up.
//
//   config 0  bits 0-1 connection: 0 none (local), 1 network (Telnet
//             standard), 2 network (Telnet advanced, or SSH with bit 6), 3 serial
//             bits 2-3 width: 80, 132, 200, 80
//             bit 4 host character set Latin-1 (else Roman 8)
//             bit 5 answer ENQ with ACK; bit 7 remote mode
//   config 1  below 0x80: 24 rows; else 1 + (value & 0x7f) % 100 rows
//   config 2  bits 0-1 serial handshaking code; bit 2 margin wrap;
//             bit 3 automatic line feed; bits 4-5 serial drain time
//             (0, 100, 2000 ms, never); bit 6 trace on; bit 7 network XOFF
//   per chunk op     bits 0-1 path: 0/2 the connection's own path, 1 local
//                    echo, 3 the connection's path in two halves with a
//                    tick between; bits 2-3 ticks after delivery (0..3);
//                    bits 4-5 clock step per tick: 25, 0, 300, 1100 ms;
//                    bit 6 with a length byte whose low nibble is 0:
//                    pause/resume; bit 7 long chunk (length * 16)
//             length chunk length - 1 (or, long, length * 16)
#include "FakeConnection.h"
#include "FakeTrace.h"
#include "Invariants.h"
#include "SessionInternals.h"

#include "base/Clock.h"
#include "session/Session.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using kalvor::ManualClock;
using kalvor::NetworkKind;
using kalvor::Session;
using kalvor::test::FakeConnection;
using kalvor::test::FakeTrace;

void Check(Session& session, bool allRows) { kalvor::fuzz::ExpectSoundDisplayMemory(session.Memory(), allRows); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::vector<std::uint8_t> config = in.ConsumeBytes<std::uint8_t>(3);
    const auto cfg = [&](std::size_t i) -> std::uint8_t { return i < config.size() ? config[i] : 0; };

    const int connection = cfg(0) & 3;
    static constexpr int kWidths[4] = {80, 132, 200, 80};
    const int cols = kWidths[(cfg(0) >> 2) & 3];
    const int rows = cfg(1) < 0x80 ? 24 : 1 + (cfg(1) & 0x7f) % 100;
    static constexpr std::int64_t kDrain[4] = {0, 100, 2000, -1};

    ManualClock clock;
    // The fakes copy every byte that leaves the terminal, so a view into
    // freed memory shows up under AddressSanitizer.
    FakeTrace trace;
    trace.On = (cfg(2) & 0x40) != 0;
    Session session(clock, &trace);
    FakeConnection conn; // standard Telnet unless changed
    if (connection == 2)
        conn.NetKind = (cfg(0) & 0x40) != 0 ? NetworkKind::Ssh2 : NetworkKind::TelnetAdvanced;
    if (connection == 3) {
        conn.IsNetwork = false;
        conn.HandshakeCode = cfg(2) & 3;
        conn.DrainClock = &clock;
        conn.DrainMs = kDrain[(cfg(2) >> 4) & 3];
    }
    if (connection != 0)
        session.SetConnection(conn);

    kalvor::TerminalState& st = Internals(session).State();
    st.Mem.SetWidth(cols);
    st.Mem.RowsInTerm = rows;
    st.Mem.ClearRepaint();
    st.HostRoman8 = (cfg(0) & 0x10) == 0;
    st.RemoteMode = (cfg(0) & 0x80) != 0;
    st.MarginWrap = (cfg(2) & 0x04) != 0;
    st.AutoLineFeed = (cfg(2) & 0x08) != 0;
    Internals(session).Receive().EnqAck = (cfg(0) & 0x20) != 0;
    Internals(session).Receive().NetworkXoff = (cfg(2) & 0x80) != 0;

    Check(session, false);

    auto deliver = [&](std::string_view chunk, bool localEcho) {
        if (localEcho || connection == 0)
            Internals(session).Receive().AppendLocal(chunk);
        else if (connection == 3)
            conn.Arrive(chunk);
        else
            Internals(session).Receive().DeliverNetworkData(chunk);
    };
    auto tick = [&](std::int64_t stepMs) {
        clock.Advance(stepMs);
        session.Tick();
        Check(session, false);
    };

    static constexpr std::int64_t kSteps[4] = {Session::kTickMs, 0, 300, 1100};
    while (in.remaining_bytes() > 0) {
        const auto op = in.ConsumeIntegral<std::uint8_t>();
        const auto lengthByte = in.ConsumeIntegral<std::uint8_t>();
        const std::size_t length = (op & 0x80) != 0 ? std::size_t{lengthByte} * 16 : std::size_t{lengthByte} + 1;
        const std::string chunk = in.ConsumeBytesAsString(length);
        const int path = op & 3;
        const std::int64_t step = kSteps[(op >> 4) & 3];

        if (path == 3 && chunk.size() > 1) {
            deliver(std::string_view(chunk).substr(0, chunk.size() / 2), false);
            tick(step);
            deliver(std::string_view(chunk).substr(chunk.size() / 2), false);
        } else {
            deliver(chunk, path == 1);
        }
        if ((op & 0x40) != 0 && (lengthByte & 0x0f) == 0)
            Internals(session).Receive().StopStart();
        const int ticks = (op >> 2) & 3;
        for (int t = 0; t < ticks; ++t)
            tick(step);
    }

    // The input has ended: let everything that waits on the clock finish.
    if (!Internals(session).Receive().DisplayRunning)
        Internals(session).Receive().StopStart();
    tick(Session::kTickMs);
    for (int i = 0; i < 400 && session.Busy(); ++i)
        tick(Session::kTickMs);
    Check(session, true);
    return 0;
}
