#pragma once

#include "ui/screen_centring.h"

#include <QWidget>

#include <memory>

class QAbstractButton;
class QLineEdit;

namespace Ui {
class SettingsWindow;
}

namespace vexilon {

class ColourPicker;

// The controls the settings window's handlers work with.
struct SettingsControls {
    QLineEdit& stepPauseBox;
    QAbstractButton& stepPauseSave;
    QAbstractButton& reverseX;
    QAbstractButton& reverseY;
    ColourPicker& carvedColourPicker;
};

// The settings window: the form with every control of its layout, fixed in
// size, with an empty title and the explanatory picture in PhotoPicture. It
// holds no behaviour; SettingsHandlers binds that to it. The form stays
// inside; each control is reachable by its layout name too (findChild).
class SettingsWindow : public QWidget {
    Q_OBJECT

public:
    explicit SettingsWindow(QWidget* parent = nullptr);
    ~SettingsWindow() override;

    SettingsControls controls() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::unique_ptr<Ui::SettingsWindow> ui_;
    ScreenCentring centring_;
};

} // namespace vexilon
