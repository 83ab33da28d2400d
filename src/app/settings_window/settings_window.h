#pragma once

#include "ui_settings_window.h"

#include "ui/screen_centring.h"

#include <QWidget>

namespace vexilon {

// The settings window: the form with every control of its layout, fixed in
// size, with an empty title and the explanatory picture in PhotoPicture. It
// holds no behaviour; SettingsHandlers binds that to it.
class SettingsWindow : public QWidget {
    Q_OBJECT

public:
    explicit SettingsWindow(QWidget* parent = nullptr);

    // The controls, by their layout names (ui.StepPauseBox, ...).
    Ui::SettingsWindow ui;

protected:
    void showEvent(QShowEvent* event) override;

private:
    ScreenCentring centring_;
};

} // namespace vexilon
