#pragma once

#include <QByteArray>
#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

class QPainter;

namespace vexilon {

// A drawing surface that keeps everything drawn on it and repaints itself
// from that. What has been drawn is held as one ARGB layer, transparent where
// the panel was cleared or never drawn on: the panel shows it over its
// background colour, snapshots composite it the same way, and picture boxes
// lying over the panel paint it over their own picture, so that dots drawn on
// the panel are seen over the picture until the next clear.
class DrawPanel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool singleLineBorder READ singleLineBorder WRITE setSingleLineBorder)

public:
    explicit DrawPanel(QWidget* parent = nullptr);

    bool singleLineBorder() const { return border_; }
    void setSingleLineBorder(bool on);

    // A light button-face grey, whatever the desktop theme: the conversion
    // to black and white turns it white.
    static QColor backgroundColour();

    // Panel coordinates throughout; whatever falls outside the panel is cut.
    void clear(int x, int y, int w, int h);
    // Draws `picture` at its own size with its top left at (x, y), replacing
    // the pixels below. A null picture draws nothing. Scaling is the image
    // layer's business: the panel only copies pixels.
    void drawPicture(const QImage& picture, int x, int y);
    // colorref is 0x00BBGGRR, red in the low byte.
    void setPixel(int x, int y, quint32 colorref);

    // The panel's image from (0, 0), w x h, as an opaque 32-bit picture;
    // pixels beyond the panel have the background colour. Null when w or h
    // is not positive or the image would be too large for a BMP file.
    QImage snapshot(int w, int h) const;

    // Everything drawn since the last clear, transparent elsewhere; panel-sized.
    const QImage& inkLayer() const;

    // Paints what of this panel lies over a child at `childPos`: the ink
    // layer when `withInk`, and the border line.
    void paintOverChild(QPainter& painter, QPoint childPos, bool withInk) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void fitLayer() const;
    void markDirty(const QRect& area);
    void flushDirty();
    void paintBorder(QPainter& painter, QPoint offset) const;

    // Follows the panel's size, hence mutable.
    mutable QImage ink_;
    QRect dirty_;
    QElapsedTimer lastFlush_;
    static constexpr qint64 kFrameMs = 16;
    bool border_ = false;
};

} // namespace vexilon
