#include "ui/draw_panel.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTimer>

#include <algorithm>
#include <cstdint>

namespace vexilon {

namespace {

// The part of the rectangle (x, y, w, h) inside `bounds`, computed without
// overflow for any int arguments; empty when w or h is not positive.
QRect visiblePart(int x, int y, int w, int h, const QRect& bounds) {
    if (w <= 0 || h <= 0) {
        return {};
    }
    const std::int64_t left = std::max<std::int64_t>(x, bounds.left());
    const std::int64_t top = std::max<std::int64_t>(y, bounds.top());
    const std::int64_t right =
        std::min<std::int64_t>(std::int64_t{x} + w, std::int64_t{bounds.right()} + 1);
    const std::int64_t bottom =
        std::min<std::int64_t>(std::int64_t{y} + h, std::int64_t{bounds.bottom()} + 1);
    if (left >= right || top >= bottom) {
        return {};
    }
    return QRect(static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                 static_cast<int>(bottom - top));
}

} // namespace

DrawPanel::DrawPanel(QWidget* parent) : QWidget(parent) {
    // Every paint covers its whole area, so the group box behind need not be
    // painted first: a dot's repaint stays a dot's.
    setAttribute(Qt::WA_OpaquePaintEvent);
    fitLayer();
}

void DrawPanel::setSingleLineBorder(bool on) {
    border_ = on;
    update();
}

QColor DrawPanel::backgroundColour() {
    // Fixed, never the desktop palette's: what lies around a picture on the
    // canvas becomes part of the image to burn, and a dark theme must not
    // turn those margins into dots.
    return QColor(240, 240, 240);
}

void DrawPanel::clear(int x, int y, int w, int h) {
    fitLayer();
    const QRect area = visiblePart(x, y, w, h, ink_.rect());
    if (area.isEmpty()) {
        return;
    }
    QPainter painter(&ink_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(area, Qt::transparent);
    painter.end();
    markDirty(area);
}

void DrawPanel::drawPicture(const QImage& picture, int x, int y) {
    fitLayer();
    const QRect area = visiblePart(x, y, picture.width(), picture.height(), ink_.rect());
    if (picture.isNull() || area.isEmpty()) {
        return;
    }
    const QImage pixels =
        picture.copy(area.translated(-x, -y)).convertToFormat(QImage::Format_RGB32);
    if (pixels.isNull()) {
        return;
    }
    QPainter painter(&ink_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(area.topLeft(), pixels);
    painter.end();
    markDirty(area);
}

void DrawPanel::setPixel(int x, int y, quint32 colorref) {
    fitLayer();
    if (!ink_.rect().contains(x, y)) {
        return;
    }
    const int red = static_cast<int>(colorref & 0xff);
    const int green = static_cast<int>((colorref >> 8) & 0xff);
    const int blue = static_cast<int>((colorref >> 16) & 0xff);
    ink_.setPixel(x, y, qRgb(red, green, blue));
    markDirty(QRect(x, y, 1, 1));
}

QImage DrawPanel::snapshot(int w, int h) const {
    if (w <= 0 || h <= 0) {
        return {};
    }
    // Keeps the composite within what a BMP file can state in 32 bits.
    if (std::int64_t{w} * h > (std::int64_t{1} << 26)) {
        return {};
    }
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    image.fill(backgroundColour());
    QPainter painter(&image);
    painter.drawImage(0, 0, inkLayer());
    painter.end();
    return image;
}

const QImage& DrawPanel::inkLayer() const {
    fitLayer();
    return ink_;
}

void DrawPanel::paintOverChild(QPainter& painter, QPoint childPos, bool withInk) const {
    if (withInk) {
        painter.drawImage(-childPos, inkLayer());
    }
    paintBorder(painter, -childPos);
}

void DrawPanel::paintEvent(QPaintEvent* event) {
    fitLayer();
    QPainter painter(this);
    painter.fillRect(event->rect(), backgroundColour());
    painter.drawImage(event->rect(), ink_, event->rect());
    paintBorder(painter, QPoint(0, 0));
    // A panel inside another panel (a ruler on the preview canvas) keeps the
    // outer panel's border line visible over itself.
    if (const auto* outer = qobject_cast<const DrawPanel*>(parentWidget())) {
        outer->paintOverChild(painter, pos(), false);
    }
}

// The layer follows the panel's size and keeps what it holds. Checked on
// every use: a hidden widget gets its resize event only when first shown,
// and panels are drawn on before that.
void DrawPanel::fitLayer() const {
    if (ink_.size() == size()) {
        return;
    }
    QImage layer(size(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    if (!ink_.isNull()) {
        QPainter painter(&layer);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, ink_);
    }
    ink_ = layer;
}

// Position reports arrive up to thousands of times a second, one pixel each:
// collect the changed area and repaint it at most once a screen frame, at
// once when the last repaint is a frame old.
void DrawPanel::markDirty(const QRect& area) {
    const bool scheduled = !dirty_.isNull();
    dirty_ |= area;
    if (scheduled) {
        return;
    }
    const qint64 since = lastFlush_.isValid() ? lastFlush_.elapsed() : kFrameMs;
    QTimer::singleShot(static_cast<int>(std::max<qint64>(0, kFrameMs - since)), Qt::PreciseTimer,
                       this, &DrawPanel::flushDirty);
}

void DrawPanel::flushDirty() {
    const QRect area = dirty_;
    dirty_ = QRect();
    lastFlush_.start();
    update(area);
}

void DrawPanel::paintBorder(QPainter& painter, QPoint offset) const {
    if (!border_) {
        return;
    }
    painter.save();
    painter.setPen(palette().color(QPalette::Shadow));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(offset, size()).adjusted(0, 0, -1, -1));
    painter.restore();
}

} // namespace vexilon
