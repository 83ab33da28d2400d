#pragma once

#include "app/settings_window/settings_window.h"

#include <QApplication>
#include <QColorDialog>
#include <QTest>
#include <QTimer>

#include <functional>

namespace vexilon::test {

// Runs `act` on the first modal window of type W that opens, from inside its
// event loop, then closes that window unless `act` did; polls every 5 ms.
template <class W> void whenModalOpens(std::function<void(W&)> act) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* open = qobject_cast<W*>(QApplication::activeModalWidget());
        if (open == nullptr || !open->isVisible()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        act(*open);
        if (open->isVisible()) {
            open->close();
        }
    });
    poll->start();
}

// Clicks the picker and, in the palette it opens, chooses `colour`.
inline void chooseInPalette(QWidget* picker, const QColor& colour) {
    whenModalOpens<QColorDialog>([colour](QColorDialog& palette) {
        palette.setCurrentColor(colour);
        palette.accept();
    });
    QTest::mouseClick(picker, Qt::LeftButton);
}

} // namespace vexilon::test
