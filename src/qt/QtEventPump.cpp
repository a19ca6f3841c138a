#include "qt/QtEventPump.h"

#include <QEventLoop>
#include <QTimer>
#include <cmath>

void QtEventPump::handleEventsFor(double seconds) {
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(std::ceil(seconds * 1000)), Qt::PreciseTimer, &loop,
                       &QEventLoop::quit);
    loop.exec();
}
