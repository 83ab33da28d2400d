#pragma once

#include "image/pipeline/picture_mode.h"

#include <QObject>
#include <QPoint>

class QAction;
class QMenu;
class QWidget;

namespace vexilon {

// The picture mode, chosen from a context menu on the preview: the
// conversion (Halftone with its cell size), brightness and contrast in steps
// of 5, and invert. It is the only thing it adds to the screen; the windows'
// controls stay as they are.
class PictureModeMenu : public QObject {
    Q_OBJECT
public:
    // The menu opens on a right click on any of `previewWidgets`, and on the
    // Menu key while `window` has the focus (then over the first of them).
    PictureModeMenu(QWidget& window, std::initializer_list<QWidget*> previewWidgets,
                    QObject* parent = nullptr);
    ~PictureModeMenu() override;

    // The mode the menu shows as chosen; sets nothing off.
    void setMode(const PictureMode& mode);
    const PictureMode& mode() const { return mode_; }

    // The menu itself, for tests that choose from it.
    QMenu& menu() { return *menu_; }

signals:
    void modeChosen(const PictureMode& mode);

private:
    void build();
    void addConversions();
    void addAdjustment(const QString& title, int kind);
    void addChoice(QMenu& into, const QString& text, int kind, int value);
    void take(const QAction* action);
    void choose(const PictureMode& mode);
    void refreshChecks();
    void popUp(QPoint globalPosition);

    QWidget& window_;
    QWidget* anchor_ = nullptr;
    QMenu* menu_;
    PictureMode mode_;
};

} // namespace vexilon
