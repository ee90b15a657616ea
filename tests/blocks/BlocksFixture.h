// The session fixture for the tests of format mode, block transmission and
// the status replies: what was sent is compared in its visible form.
#pragma once

#include "Runs.h"
#include "SessionFixture.h"
#include "SessionInternals.h"
#include "Visible.h"

namespace kalvor::test {

class BlocksFixture : public SessionFixture {
protected:
    BlockTransmission& blocks = Internals(session).Blocks();
    FormatMode& fields = Internals(session).Fields();
    Handshake& handshake = Internals(session).Handshaking();

    // Both handshake straps: everything goes out at once.
    void NoHandshake()
    {
        st.Strap.G = true;
        st.Strap.H = true;
    }
    std::string Sent() const { return Visible(conn.Written()); }
};

} // namespace kalvor::test
