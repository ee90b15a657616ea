#include "ui/ArrivalPasses.h"

#include "session/Session.h"

namespace kalvor::ui {

ArrivalPasses::ArrivalPasses(Session& session, ArrivalWindow& window) : session_(session), window_(window)
{
    frame_.setSingleShot(true);
    frame_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&frame_, &QTimer::timeout, &frame_, [this] { Frame(); });
    sinceFrame_.start();
}

void ArrivalPasses::DataArrived()
{
    if (inPass_ || !window_.ReceiveTimerRunning())
        return;
    inPass_ = true;
    session_.ArrivalPass();
    inPass_ = false;
    if (!repaintWanted_ || frame_.isActive())
        return;
    const qint64 elapsed = sinceFrame_.elapsed();
    if (elapsed >= kFrameMs)
        Frame();
    else
        frame_.start(static_cast<int>(kFrameMs - elapsed));
}

bool ArrivalPasses::TakeRepaint()
{
    if (!inPass_)
        return false;
    repaintWanted_ = true;
    return true;
}

void ArrivalPasses::Frame()
{
    repaintWanted_ = false;
    sinceFrame_.restart();
    window_.DrawFrame();
}

} // namespace kalvor::ui
