#include "ui/pic_box.h"

#include "ui/bmp_picture.h"
#include "ui/draw_panel.h"

#include <QPainter>

namespace vexilon {

PicBox::PicBox(QWidget* parent) : QWidget(parent) {}

void PicBox::setPicture(const QByteArray& bmpBytes) {
    setPicture(pictureFromBmpBytes(bmpBytes));
}

void PicBox::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void PicBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (!picture_.isNull()) {
        painter.drawImage(0, 0, picture_);
    }
    if (const auto* panel = qobject_cast<const DrawPanel*>(parentWidget())) {
        panel->paintOverChild(painter, pos(), true);
    }
}

} // namespace vexilon
