#include "support/qt_environment.h"

#include "app/window/main_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace vexilon {
namespace {

enum class Ink { Black, Teal, None };

struct Control {
    const char* name;
    const char* kind;
    const char* parent; // nullptr: the window itself
    QRect place;        // in the parent
    const char* caption;
    const char* family; // nullptr: no text of its own
    int pixels;
    Ink ink;
};

// The main window's layout, control by control.
// clang-format off
const Control kLayout[] = {
    {"ConnectButton", "QPushButton", nullptr, {40, 8, 72, 32}, "Connecting", "Calibri", 12, Ink::Black},
    {"PortComboBox", "QComboBox", nullptr, {136, 16, 64, 20}, "COM0", "Calibri", 12, Ink::None},
    {"DisconnectButton", "QPushButton", nullptr, {136, 8, 64, 32}, "Break", "Calibri", 12, Ink::Black},
    {"StartButton", "QPushButton", nullptr, {280, 8, 96, 40}, "Start", "Calibri", 12, Ink::Black},
    {"PauseButton", "QPushButton", nullptr, {464, 8, 96, 40}, "Pause", "Calibri", 12, Ink::Black},
    {"RestartButton", "QPushButton", nullptr, {648, 8, 96, 40}, "Restart", "Calibri", 12, Ink::Black},
    {"SendImageButton", "QPushButton", nullptr, {800, 8, 168, 56}, "Send Image To Machine", "Calibri", 12, Ink::Black},
    {"MessageGroup", "QGroupBox", nullptr, {16, 56, 200, 536}, "Message", "Calibri", 12, Ink::Black},
    {"LogBox", "QPlainTextEdit", "MessageGroup", {8, 16, 184, 496}, "", "微软雅黑", 12, Ink::None},
    {"CanvasGroup", "QGroupBox", nullptr, {232, 56, 530, 536}, "Carve Preview", "Calibri", 12, Ink::Black},
    {"PreviewCanvas", "vexilon::DrawPanel", "CanvasGroup", {8, 16, 512, 512}, nullptr, nullptr, 0, Ink::None},
    {"PreviewPicture", "vexilon::PicBox", "PreviewCanvas", {0, 0, 512, 512}, nullptr, nullptr, 0, Ink::None},
    {"RightRuler", "vexilon::DrawPanel", "PreviewCanvas", {499, 0, 12, 512}, nullptr, nullptr, 0, Ink::None},
    {"BottomRuler", "vexilon::DrawPanel", "PreviewCanvas", {0, 499, 511, 12}, nullptr, nullptr, 0, Ink::None},
    {"LocationGroup", "QGroupBox", nullptr, {768, 72, 232, 184}, "Location Mode", "Calibri", 12, Ink::Teal},
    {"OriginButton", "QPushButton", "LocationGroup", {48, 16, 136, 48}, "To Origin", "Calibri", 12, Ink::Black},
    {"MiddleButton", "QPushButton", "LocationGroup", {48, 72, 136, 48}, "To Middle of Image", "Calibri", 12, Ink::Black},
    {"CarvingPreviewButton", "QPushButton", "LocationGroup", {48, 128, 136, 48}, "Carving Preview", "Calibri", 12, Ink::Black},
    {"MovementGroup", "QGroupBox", nullptr, {768, 264, 232, 112}, "Movement", "Calibri", 12, Ink::Teal},
    {"UpButton", "QPushButton", nullptr, {856, 280, 48, 32}, "Up", "Calibri", 12, Ink::Black},
    {"LeftButton", "QPushButton", nullptr, {800, 320, 48, 32}, "Left", "Calibri", 12, Ink::Black},
    {"DownButton", "QPushButton", nullptr, {856, 320, 48, 32}, "Down", "Calibri", 12, Ink::Black},
    {"RightButton", "QPushButton", nullptr, {912, 320, 48, 32}, "Right", "Calibri", 12, Ink::Black},
    {"UseKeyboardCheckBox", "QCheckBox", "MovementGroup", {0, 96, 104, 16}, "Use Keyboard", "Arial", 12, Ink::Black},
    {"CarveRateGroup", "QGroupBox", nullptr, {768, 384, 232, 64}, "Carve Rate Control", "Calibri", 12, Ink::Teal},
    {"FastBackwardButton", "QPushButton", nullptr, {776, 400, 64, 40}, "      Fast      Backward", "Calibri", 12, Ink::Black},
    {"RecarveButton", "QPushButton", nullptr, {848, 400, 64, 40}, "Recarve", "Calibri", 12, Ink::Black},
    {"FastForwardButton", "QPushButton", nullptr, {920, 400, 64, 40}, "      Fast      Forward", "Calibri", 12, Ink::Black},
    {"ImageEditingGroup", "QGroupBox", nullptr, {768, 464, 232, 64}, "Image Editing", "Calibri", 12, Ink::Teal},
    {"ClearButton", "QPushButton", nullptr, {776, 480, 48, 40}, "Clear", "Calibri", 12, Ink::Black},
    {"ReloadButton", "QPushButton", "ImageEditingGroup", {64, 16, 48, 40}, "Reload", "Calibri", 12, Ink::Black},
    {"ZoomOutButton", "QPushButton", nullptr, {888, 480, 48, 40}, "Zoom Out", "Calibri", 12, Ink::Black},
    {"RotateButton", "QPushButton", "ImageEditingGroup", {176, 16, 48, 40}, "Rotate", "Calibri", 12, Ink::Black},
    {"XLabel", "QLabel", nullptr, {776, 544, 32, 40}, "X:", "Calibri", 29, Ink::Black},
    {"XCoordBox", "QLineEdit", nullptr, {800, 544, 72, 40}, "000", "Calibri", 29, Ink::None},
    {"YLabel", "QLabel", nullptr, {896, 544, 24, 40}, "Y:", "Calibri", 29, Ink::Black},
    {"YCoordBox", "QLineEdit", nullptr, {920, 544, 72, 40}, "000", "Calibri", 29, Ink::None},
    {"RunTimeLabel", "QLabel", nullptr, {24, 568, 136, 16}, "Run time :  00:00", "Calibri", 16, Ink::Black},
    {"BurningTimeSlider", "vexilon::SliderBar", nullptr, {24, 600, 760, 24}, nullptr, "Calibri", 12, Ink::None},
    {"BurningTimeLabel", "QLabel", nullptr, {784, 592, 144, 32}, "Burning time: 60", "Calibri", 16, Ink::Black},
    {"SettingButton", "QPushButton", nullptr, {928, 592, 64, 32}, "Setting", "Calibri", 12, Ink::Black},
};
// clang-format on

QString captionOf(const QWidget* w) {
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) {
        return b->text();
    }
    if (const auto* g = qobject_cast<const QGroupBox*>(w)) {
        return g->title();
    }
    if (const auto* l = qobject_cast<const QLabel*>(w)) {
        return l->text();
    }
    if (const auto* e = qobject_cast<const QLineEdit*>(w)) {
        return e->text();
    }
    if (const auto* t = qobject_cast<const QPlainTextEdit*>(w)) {
        return t->toPlainText();
    }
    if (const auto* c = qobject_cast<const QComboBox*>(w)) {
        return c->currentText();
    }
    return {};
}

// The face each designed family resolves to on this system.
QString installedTwin(const QString& family) {
    if (family == QStringLiteral("Calibri")) {
        return QStringLiteral("Carlito");
    }
    if (family == QStringLiteral("Arial")) {
        return QStringLiteral("Liberation Sans");
    }
    return QStringLiteral("WenQuanYi Micro Hei");
}

TEST(MainWindowLayout, EveryControlHasItsKindParentPlaceCaptionFontAndColour) {
    MainWindow window;
    for (const Control& c : kLayout) {
        SCOPED_TRACE(c.name);
        auto* w = window.findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->inherits(c.kind)) << w->metaObject()->className();
        const QString parent =
            c.parent ? QString::fromLatin1(c.parent) : QStringLiteral("MainWindow");
        ASSERT_NE(w->parentWidget(), nullptr);
        EXPECT_EQ(w->parentWidget()->objectName(), parent);
        EXPECT_EQ(w->geometry(), c.place);
        if (c.caption != nullptr) {
            EXPECT_EQ(captionOf(w), QString::fromUtf8(c.caption));
        }
        if (c.family != nullptr) {
            EXPECT_EQ(w->font().family(), QString::fromUtf8(c.family));
            EXPECT_EQ(w->font().pixelSize(), c.pixels);
            EXPECT_EQ(w->font().weight(), QFont::Normal);
            EXPECT_EQ(QFontInfo(w->font()).family(), installedTwin(QString::fromUtf8(c.family)));
        }
        if (c.ink != Ink::None) {
            const QPalette::ColorRole role =
                w->inherits("QPushButton") ? QPalette::ButtonText : QPalette::WindowText;
            const QColor expected = c.ink == Ink::Teal ? QColor(0, 128, 128) : QColor(Qt::black);
            EXPECT_EQ(w->palette().color(role), expected);
        }
        EXPECT_TRUE(w->isVisibleTo(&window));
        EXPECT_TRUE(w->isEnabled());
    }
}

TEST(MainWindowLayout, WindowIsFixedAndControlsStartInTheLayoutsState) {
    MainWindow window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Miniature Vexilon\r\n"));
    EXPECT_EQ(window.minimumSize(), QSize(1007, 636));
    EXPECT_EQ(window.maximumSize(), QSize(1007, 636));
    EXPECT_TRUE(window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));

    const Ui::MainWindow& ui = window.ui;
    ASSERT_EQ(ui.PortComboBox->count(), 33);
    EXPECT_EQ(ui.PortComboBox->itemText(32), QStringLiteral("COM32"));
    EXPECT_FALSE(ui.PortComboBox->isEditable());
    EXPECT_EQ(ui.BurningTimeSlider->position(), 60);
    EXPECT_EQ(ui.BurningTimeSlider->maximum(), 240);
    EXPECT_EQ(ui.LogBox->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(ui.XCoordBox->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_TRUE(ui.PreviewCanvas->singleLineBorder());
    EXPECT_FALSE(ui.HotkeyLabel->isVisibleTo(&window));
    EXPECT_TRUE(ui.HotkeyLabel->text().isEmpty());
}

} // namespace
} // namespace vexilon
