// Receive passes on arrival: when a connection has delivered a burst of data
// (one read handler's worth, at most 256 KiB) the window runs a receive pass
// at once instead of waiting for the 25 ms tick, which keeps its timed duties
// (blink, queued serial output, the script's waits). The connection's
// handler then returns to the event loop, so keys and window events are
// handled between two bursts. Passes run only while the receive timer runs,
// so a stopped timer (forms mode, tests that drive the ticks) stops them too.
//
// Not a zero timer nor a posted event: the event loop gives timers idle
// priority while a stream keeps the connection readable, and a posted event
// costs two system calls more per burst.
//
// The repaints such a pass asks for are drawn at most once a frame: at once
// when the last frame is at least kFrameMs old, else when it is.
#pragma once

#include <QElapsedTimer>
#include <QTimer>

namespace kalvor {
class Session;
}

namespace kalvor::ui {

// The window side: whether the receive timer runs, and a repaint.
class ArrivalWindow {
public:
    virtual bool ReceiveTimerRunning() const = 0;
    virtual void DrawFrame() = 0;

protected:
    ~ArrivalWindow() = default;
};

class ArrivalPasses {
public:
    static constexpr int kFrameMs = 16;

    ArrivalPasses(Session& session, ArrivalWindow& window);

    // Data arrived: a pass runs now.
    void DataArrived();
    // A repaint asked for during a pass on arrival is taken over here (true);
    // any other is the caller's to draw now (false).
    bool TakeRepaint();

private:
    void Frame();

    Session& session_;
    ArrivalWindow& window_;
    QTimer frame_; // the rest of the frame, single shot
    QElapsedTimer sinceFrame_;
    bool inPass_ = false;
    bool repaintWanted_ = false;
};

} // namespace kalvor::ui
