#pragma once

#include <QByteArray>
#include <QImage>
#include <QWidget>

namespace vexilon {

// A picture box: shows one picture from the top left, unscaled, no border.
// Lying on a DrawPanel, it paints the panel's ink layer over its picture, so
// what is drawn on the panel stays visible over the picture.
class PicBox : public QWidget {
    Q_OBJECT

public:
    explicit PicBox(QWidget* parent = nullptr);

    // The picture from BMP file bytes; empty or unreadable bytes leave the
    // box without a picture.
    void setPicture(const QByteArray& bmpBytes);
    // The picture itself; a null one leaves the box without a picture.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
};

} // namespace vexilon
