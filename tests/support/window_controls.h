#pragma once

#include "app/settings_window/settings_window.h"
#include "app/window/main_window.h"
#include "ui/colour_picker.h"
#include "ui/draw_panel.h"
#include "ui/pic_box.h"
#include "ui/slider_bar.h"
#include "ui/wrap_button.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>

#include <stdexcept>
#include <string>

namespace vexilon::test_support {

// The windows keep their forms to themselves; tests reach every control by
// its layout name, as a user's tools would, through these stand-ins.
template <class Control> Control* find(const QWidget& window, const char* name) {
    auto* control = window.findChild<Control*>(QLatin1String(name));
    if (control == nullptr) {
        throw std::logic_error(std::string("no control named ") + name);
    }
    return control;
}

struct MainWindowControls {
    explicit MainWindowControls(const QWidget& window)
        : ConnectButton(find<WrapButton>(window, "ConnectButton")),
          PortComboBox(find<QComboBox>(window, "PortComboBox")),
          DisconnectButton(find<WrapButton>(window, "DisconnectButton")),
          StartButton(find<WrapButton>(window, "StartButton")),
          PauseButton(find<WrapButton>(window, "PauseButton")),
          RestartButton(find<WrapButton>(window, "RestartButton")),
          SendImageButton(find<WrapButton>(window, "SendImageButton")),
          MessageGroup(find<QGroupBox>(window, "MessageGroup")),
          LogBox(find<QPlainTextEdit>(window, "LogBox")),
          CanvasGroup(find<QGroupBox>(window, "CanvasGroup")),
          PreviewCanvas(find<DrawPanel>(window, "PreviewCanvas")),
          PreviewPicture(find<PicBox>(window, "PreviewPicture")),
          RightRuler(find<DrawPanel>(window, "RightRuler")),
          BottomRuler(find<DrawPanel>(window, "BottomRuler")),
          LocationGroup(find<QGroupBox>(window, "LocationGroup")),
          OriginButton(find<WrapButton>(window, "OriginButton")),
          MiddleButton(find<WrapButton>(window, "MiddleButton")),
          CarvingPreviewButton(find<WrapButton>(window, "CarvingPreviewButton")),
          MovementGroup(find<QGroupBox>(window, "MovementGroup")),
          UseKeyboardCheckBox(find<QCheckBox>(window, "UseKeyboardCheckBox")),
          UpButton(find<WrapButton>(window, "UpButton")),
          LeftButton(find<WrapButton>(window, "LeftButton")),
          DownButton(find<WrapButton>(window, "DownButton")),
          RightButton(find<WrapButton>(window, "RightButton")),
          CarveRateGroup(find<QGroupBox>(window, "CarveRateGroup")),
          FastBackwardButton(find<WrapButton>(window, "FastBackwardButton")),
          RecarveButton(find<WrapButton>(window, "RecarveButton")),
          FastForwardButton(find<WrapButton>(window, "FastForwardButton")),
          ImageEditingGroup(find<QGroupBox>(window, "ImageEditingGroup")),
          ReloadButton(find<WrapButton>(window, "ReloadButton")),
          RotateButton(find<WrapButton>(window, "RotateButton")),
          ClearButton(find<WrapButton>(window, "ClearButton")),
          ZoomOutButton(find<WrapButton>(window, "ZoomOutButton")),
          XLabel(find<QLabel>(window, "XLabel")), XCoordBox(find<QLineEdit>(window, "XCoordBox")),
          YLabel(find<QLabel>(window, "YLabel")), YCoordBox(find<QLineEdit>(window, "YCoordBox")),
          RunTimeLabel(find<QLabel>(window, "RunTimeLabel")),
          BurningTimeSlider(find<SliderBar>(window, "BurningTimeSlider")),
          BurningTimeLabel(find<QLabel>(window, "BurningTimeLabel")),
          SettingButton(find<WrapButton>(window, "SettingButton")),
          HotkeyLabel(find<QLabel>(window, "HotkeyLabel")) {}

    WrapButton* ConnectButton;
    QComboBox* PortComboBox;
    WrapButton* DisconnectButton;
    WrapButton* StartButton;
    WrapButton* PauseButton;
    WrapButton* RestartButton;
    WrapButton* SendImageButton;
    QGroupBox* MessageGroup;
    QPlainTextEdit* LogBox;
    QGroupBox* CanvasGroup;
    DrawPanel* PreviewCanvas;
    PicBox* PreviewPicture;
    DrawPanel* RightRuler;
    DrawPanel* BottomRuler;
    QGroupBox* LocationGroup;
    WrapButton* OriginButton;
    WrapButton* MiddleButton;
    WrapButton* CarvingPreviewButton;
    QGroupBox* MovementGroup;
    QCheckBox* UseKeyboardCheckBox;
    WrapButton* UpButton;
    WrapButton* LeftButton;
    WrapButton* DownButton;
    WrapButton* RightButton;
    QGroupBox* CarveRateGroup;
    WrapButton* FastBackwardButton;
    WrapButton* RecarveButton;
    WrapButton* FastForwardButton;
    QGroupBox* ImageEditingGroup;
    WrapButton* ReloadButton;
    WrapButton* RotateButton;
    WrapButton* ClearButton;
    WrapButton* ZoomOutButton;
    QLabel* XLabel;
    QLineEdit* XCoordBox;
    QLabel* YLabel;
    QLineEdit* YCoordBox;
    QLabel* RunTimeLabel;
    SliderBar* BurningTimeSlider;
    QLabel* BurningTimeLabel;
    WrapButton* SettingButton;
    QLabel* HotkeyLabel;
};

struct SettingsWindowControls {
    explicit SettingsWindowControls(const QWidget& window)
        : StepPauseGroup(find<QGroupBox>(window, "StepPauseGroup")),
          PhotoPicture(find<PicBox>(window, "PhotoPicture")),
          StepPauseLabel(find<QLabel>(window, "StepPauseLabel")),
          StepPauseBox(find<QLineEdit>(window, "StepPauseBox")),
          StepPauseSaveButton(find<WrapButton>(window, "StepPauseSaveButton")),
          MotorReverseGroup(find<QGroupBox>(window, "MotorReverseGroup")),
          MotorReverseLabel(find<QLabel>(window, "MotorReverseLabel")),
          ReverseXButton(find<WrapButton>(window, "ReverseXButton")),
          ReverseYButton(find<WrapButton>(window, "ReverseYButton")),
          CarvedColorGroup(find<QGroupBox>(window, "CarvedColorGroup")),
          CarvedColorLabel(find<QLabel>(window, "CarvedColorLabel")),
          CarvedColorPicker(find<ColourPicker>(window, "CarvedColorPicker")),
          AboutGroup(find<QGroupBox>(window, "AboutGroup")),
          VersionLabel(find<QLabel>(window, "VersionLabel")),
          DesignNoteLabel(find<QLabel>(window, "DesignNoteLabel")) {}

    QGroupBox* StepPauseGroup;
    PicBox* PhotoPicture;
    QLabel* StepPauseLabel;
    QLineEdit* StepPauseBox;
    WrapButton* StepPauseSaveButton;
    QGroupBox* MotorReverseGroup;
    QLabel* MotorReverseLabel;
    WrapButton* ReverseXButton;
    WrapButton* ReverseYButton;
    QGroupBox* CarvedColorGroup;
    QLabel* CarvedColorLabel;
    ColourPicker* CarvedColorPicker;
    QGroupBox* AboutGroup;
    QLabel* VersionLabel;
    QLabel* DesignNoteLabel;
};

inline MainWindowControls controlsOf(const MainWindow& window) {
    return MainWindowControls(window);
}
inline SettingsWindowControls controlsOf(const SettingsWindow& window) {
    return SettingsWindowControls(window);
}

} // namespace vexilon::test_support
