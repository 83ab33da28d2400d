#include "ui/screen_centring.h"

#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QWidget>

namespace vexilon {

void ScreenCentring::onShow(QWidget& window, const QShowEvent& event) {
    if (centred_ || event.spontaneous()) {
        return;
    }
    centred_ = true;
    if (const QScreen* where = window.screen()) {
        window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                               where->availableGeometry()));
    }
}

} // namespace vexilon
