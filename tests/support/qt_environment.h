#pragma once

#include "ui/font_substitutions.h"
#include "ui/themed_drawing.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// One QApplication for the whole test program, set up as the console sets
// itself up: themed drawing and the font substitutions.
class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        app_ = std::make_unique<QApplication>(argc_, argv_);
        vexilon::useThemedDrawing();
        vexilon::registerFontSubstitutions();
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[5] = "test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
};

// Failing comparisons of texts print the text, not its UTF-16 units.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline ::testing::Environment* const qtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);
