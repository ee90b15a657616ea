// What the platform connections share: the connected switch the connection
// manager sets for the connection it is using, and the receive throttle that
// stops reading a network transport while the terminal is behind and resumes
// it from a short timer once the backlog has shrunk.
#pragma once

#include "comms/Connection.h"
#include "comms/ConnectionRules.h"
#include "comms/ReceivePass.h"

#include <QTimer>

#include <cstddef>

namespace kalvor::net {

class ManagedConnection : public Connection {
public:
    // Connected switch: set at the start of a connect attempt, cleared when
    // the connection ends (the manager decides).
    bool Connected() const override { return connected_; }
    void SetConnectedSwitch(bool on) { connected_ = on; }

private:
    bool connected_ = false;
};

// The connection an InputThrottle holds back: told once reading may go on
// again, and asked how many characters it has read but not yet delivered (a
// worker's buffer; none by default).
class ThrottledReader {
public:
    virtual void ResumeReading() = 0;
    virtual std::size_t PendingBytes() const { return 0; }

protected:
    ~ThrottledReader() = default;
};

// Reading stops while the receive buffer holds more than 50000 characters
// (the display is paused or the interpreter is behind) and resumes below
// 10000. The staging buffer, which the receive pass empties on every tick,
// has a cap of its own so that a fast stream between two ticks stays bounded.
class InputThrottle {
public:
    static constexpr int kRecheckMs = 10;
    static constexpr std::size_t kStagingHigh = 1024 * 1024;
    static constexpr std::size_t kStagingLow = 256 * 1024;

    InputThrottle(ReceiveInput& receive, ThrottledReader& reader) : rx_(receive), reader_(reader)
    {
        timer_.setInterval(kRecheckMs);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            if (Check()) {
                timer_.stop();
                reader_.ResumeReading();
            }
        });
    }

    // Characters read but not yet interpreted.
    std::size_t Backlog() const { return rx_.CommBufferSize() + Staged(); }
    std::size_t Staged() const { return rx_.NetInBuffer().size() + reader_.PendingBytes(); }
    // Whether the transport may be read now; when not, the recheck timer runs.
    bool MayRead()
    {
        if (Check())
            return true;
        if (!timer_.isActive())
            timer_.start();
        return false;
    }
    bool Paused() const { return throttle_.Paused() || staging_; }
    void Reset()
    {
        timer_.stop();
        throttle_.Reset();
        staging_ = false;
    }

private:
    bool Check()
    {
        const std::size_t staged = Staged();
        if (staging_ && staged < kStagingLow)
            staging_ = false;
        else if (!staging_ && staged > kStagingHigh)
            staging_ = true;
        const bool comm = throttle_.MayRead(rx_.CommBufferSize());
        return comm && !staging_;
    }

    ReceiveInput& rx_;
    ThrottledReader& reader_;
    ReceiveThrottle throttle_;
    bool staging_ = false;
    QTimer timer_;
};

} // namespace kalvor::net
