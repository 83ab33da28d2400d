#include "app/settings_window/explanatory_picture.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <numbers>
#include <random>

namespace vexilon {
namespace {

constexpr int kWidth = 1199;
constexpr int kHeight = 512;
// Both roses are drawn about these centres of their flower heads.
constexpr QPointF kDrawingHead(215, 165);
constexpr QPointF kBurntHead(985, 165);
// The room between the two pictures, for the texts and the arrow.
constexpr double kMiddleLeft = 440;
constexpr double kMiddleRight = 765;

QPointF polar(QPointF centre, double radius, double degrees) {
    const double radians = degrees * std::numbers::pi / 180.0;
    return centre + QPointF(radius * std::cos(radians), radius * std::sin(radians));
}

// A petal: a scallop bulging away from the head's centre between two
// angles, its ends tucked a little inwards under its neighbours.
void addPetal(QPainterPath& path, QPointF head, double radius, double from, double to) {
    const double span = to - from;
    path.moveTo(polar(head, radius * 0.86, from));
    path.cubicTo(polar(head, radius * 1.22, from + span * 0.2),
                 polar(head, radius * 1.22, to - span * 0.2), polar(head, radius, to));
}

// A leaf on the stem: two curves meeting at its tip, and its midrib.
void addLeaf(QPainterPath& path, QPointF base, QPointF tip, double bulge) {
    const QPointF along = tip - base;
    const QPointF across(-along.y() * bulge, along.x() * bulge);
    path.moveTo(base);
    path.cubicTo(base + along * 0.3 + across, base + along * 0.7 + across, tip);
    path.cubicTo(base + along * 0.7 - across, base + along * 0.3 - across, base);
    path.moveTo(base + along * 0.1);
    path.lineTo(base + along * 0.85);
}

// The rose in outline: the bud's spiral, two rings of petals, the cup below
// them, the stem and two leaves.
QPainterPath rose(QPointF head) {
    QPainterPath path;
    for (int step = 0; step <= 240; ++step) {
        const double turn = step / 240.0;
        const QPointF point = polar(head, 6 + 38 * turn, 200 + 2.2 * 360 * turn);
        if (step == 0) {
            path.moveTo(point);
        } else {
            path.lineTo(point);
        }
    }
    for (int petal = 0; petal < 5; ++petal) {
        const double from = -100 + petal * 72;
        addPetal(path, head, 56, from, from + 84);
    }
    for (int petal = 0; petal < 6; ++petal) {
        const double from = -80 + petal * 60;
        addPetal(path, head, 92, from, from + 70);
    }
    // The cup: two sweeping outer petals that hold the head from below.
    path.moveTo(head + QPointF(-118, 30));
    path.cubicTo(head + QPointF(-120, 120), head + QPointF(-40, 150), head + QPointF(0, 142));
    path.cubicTo(head + QPointF(40, 150), head + QPointF(120, 120), head + QPointF(118, 30));
    const QPointF stemTop = head + QPointF(0, 142);
    const QPointF stemFoot = head + QPointF(-18, 330);
    path.moveTo(stemTop);
    path.cubicTo(head + QPointF(8, 210), head + QPointF(-28, 270), stemFoot);
    path.moveTo(stemTop + QPointF(10, 0));
    path.cubicTo(head + QPointF(18, 210), head + QPointF(-18, 270), stemFoot + QPointF(10, 0));
    addLeaf(path, head + QPointF(2, 215), head + QPointF(95, 185), 0.32);
    addLeaf(path, head + QPointF(-10, 265), head + QPointF(-110, 245), 0.3);
    return path;
}

// A light wooden board: a warm gradient with fine, wavy grain.
void drawBoard(QPainter& painter, const QRectF& board) {
    QLinearGradient tone(board.topLeft(), board.bottomRight());
    tone.setColorAt(0, QColor(236, 206, 160));
    tone.setColorAt(1, QColor(218, 182, 130));
    QPainterPath outline;
    outline.addRoundedRect(board, 10, 10);
    painter.fillPath(outline, tone);

    painter.save();
    painter.setClipPath(outline);
    std::mt19937 random(1199);
    const auto unit = [&random] { return static_cast<double>(random()) / random.max(); };
    for (double y = board.top() - 20; y < board.bottom() + 20; y += 4 + 6 * unit()) {
        QPainterPath grain;
        const double phase = unit() * 6.3;
        const double wave = 2 + 5 * unit();
        grain.moveTo(board.left(), y);
        for (double x = board.left(); x <= board.right(); x += 12) {
            grain.lineTo(x, y + wave * std::sin(phase + x / 70.0));
        }
        painter.setPen(
            QPen(QColor(160, 110, 60, 30 + static_cast<int>(60 * unit())), 0.8 + 1.6 * unit()));
        painter.drawPath(grain);
    }
    painter.restore();
    painter.setPen(QPen(QColor(150, 105, 60), 2));
    painter.drawPath(outline);
}

// The rose as a laser burns it: a brown scorch around dark lines that break
// up where the head moved too fast for the wood to take the burn.
void drawBurntRose(QPainter& painter) {
    const QPainterPath path = rose(kBurntHead);
    QPen scorch(QColor(120, 70, 30, 70), 9, Qt::CustomDashLine, Qt::RoundCap, Qt::RoundJoin);
    scorch.setDashPattern({3.0, 0.6, 1.4, 0.9, 4.0, 0.7, 2.0, 1.2});
    painter.setPen(scorch);
    painter.drawPath(path);
    QPen burn(QColor(62, 34, 16), 3.5, Qt::CustomDashLine, Qt::RoundCap, Qt::RoundJoin);
    burn.setDashPattern({16.0, 1.6, 6.0, 2.8, 24.0, 1.2, 9.0, 3.4, 12.0, 2.0});
    painter.setPen(burn);
    painter.drawPath(path);
}

void drawArrow(QPainter& painter, QPointF from, QPointF to) {
    painter.setPen(QPen(Qt::black, 7, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(from, to - QPointF(26, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPolygon(QPolygonF({to, to + QPointF(-34, -19), to + QPointF(-34, 19)}));
    painter.setBrush(Qt::NoBrush);
}

// One line of text centred in the middle room at the given baseline, its
// size reduced where it would not fit.
void drawCentredLine(QPainter& painter, const QString& text, double baseline, int pixels,
                     const QColor& colour) {
    QFont font(QStringLiteral("Calibri"));
    font.setBold(true);
    font.setPixelSize(pixels);
    const double room = kMiddleRight - kMiddleLeft - 16;
    const double width = QFontMetricsF(font).horizontalAdvance(text);
    if (width > room) {
        font.setPixelSize(static_cast<int>(pixels * room / width));
    }
    painter.setFont(font);
    painter.setPen(colour);
    const double advance = QFontMetricsF(font).horizontalAdvance(text);
    painter.drawText(QPointF((kMiddleLeft + kMiddleRight - advance) / 2, baseline), text);
}

} // namespace

QImage explanatoryImage() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    painter.setPen(QPen(Qt::black, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(rose(kDrawingHead));

    drawBoard(painter, QRectF(kMiddleRight + 10, 8, kWidth - kMiddleRight - 18, kHeight - 16));
    drawBurntRose(painter);

    drawCentredLine(painter, QStringLiteral("Motor Step Pause :"), 78, 40, Qt::red);
    drawCentredLine(painter, QStringLiteral("Smaller, Faster"), 140, 36, Qt::black);
    drawCentredLine(painter, QStringLiteral("But"), 188, 36, Qt::black);
    drawCentredLine(painter, QStringLiteral("too small"), 236, 36, Qt::black);
    drawCentredLine(painter, QStringLiteral("may cause"), 284, 36, Qt::black);
    drawArrow(painter, QPointF(kMiddleLeft + 10, 316), QPointF(kMiddleRight - 6, 316));
    drawCentredLine(painter, QStringLiteral("Recommend : 30"), 384, 36, Qt::black);
    painter.end();
    return image;
}

} // namespace vexilon
