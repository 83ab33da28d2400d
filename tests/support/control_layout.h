#pragma once

#include <QFont>
#include <QFontInfo>
#include <QRect>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <gtest/gtest.h>

// A window's layout, checked control by control from a table of rows.
namespace vexilon::test_support {

struct ControlRow {
    const char* name;
    const char* kind;
    const char* parent; // nullptr: the window itself
    QRect place;        // in the parent
    const char* caption;
    const char* family; // nullptr: no font of its own
    int pixels;
};

// The text a control shows, whichever property holds it.
inline QString captionOf(const QWidget* w) {
    for (const char* property : {"text", "title", "plainText", "currentText"}) {
        if (const QVariant value = w->property(property); value.isValid()) {
            return value.toString();
        }
    }
    return {};
}

// The face each designed family resolves to on this system.
inline QString resolvedFamily(const QString& family) {
    return family == "Calibri" ? "Carlito"
           : family == "Arial" ? "Liberation Sans"
                               : "WenQuanYi Micro Hei";
}

// The control named by the row is in the window with the row's kind,
// parent, place, caption and font (normal weight), visible and enabled.
inline void expectLaidOut(const QWidget& window, const ControlRow& c) {
    SCOPED_TRACE(c.name);
    auto* w = window.findChild<QWidget*>(QString::fromLatin1(c.name));
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->inherits(c.kind)) << w->metaObject()->className();
    ASSERT_NE(w->parentWidget(), nullptr);
    if (c.parent != nullptr) {
        EXPECT_EQ(w->parentWidget()->objectName(), c.parent);
    } else {
        EXPECT_EQ(w->parentWidget(), &window);
    }
    EXPECT_EQ(w->geometry(), c.place);
    if (c.caption != nullptr) {
        EXPECT_EQ(captionOf(w), QString::fromUtf8(c.caption));
    }
    if (c.family != nullptr) {
        const QString family = QString::fromUtf8(c.family);
        EXPECT_EQ(w->font().family(), family);
        EXPECT_EQ(w->font().pixelSize(), c.pixels);
        EXPECT_EQ(w->font().weight(), QFont::Normal);
        EXPECT_EQ(QFontInfo(w->font()).family(), resolvedFamily(family));
    }
    EXPECT_TRUE(w->isVisibleTo(&window));
    EXPECT_TRUE(w->isEnabled());
}

} // namespace vexilon::test_support
