#include "image/view/picture_mode_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QShortcut>
#include <QWidget>

namespace vexilon {
namespace {

constexpr int kAdjustStep = 5;

// Every action carries what choosing it sets, so that its check mark can be
// worked out from the mode alone.
struct Choice {
    enum Kind { ConversionKind, HalftoneCell, Brightness, Contrast, Invert } kind;
    int value = 0;
};

Choice choiceOf(const QAction* action) {
    const QList<QVariant> v = action->data().toList();
    return {static_cast<Choice::Kind>(v.value(0).toInt()), v.value(1).toInt()};
}

QString signedText(int value) {
    return value > 0 ? QStringLiteral("+%1").arg(value) : QString::number(value);
}

} // namespace

PictureModeMenu::PictureModeMenu(QWidget& window, std::initializer_list<QWidget*> previewWidgets,
                                 QObject* parent)
    : QObject(parent), window_(window), menu_(new QMenu(&window)) {
    build();
    for (QWidget* widget : previewWidgets) {
        anchor_ = anchor_ != nullptr ? anchor_ : widget;
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(widget, &QWidget::customContextMenuRequested, this,
                [this, widget](QPoint at) { popUp(widget->mapToGlobal(at)); });
    }
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_Menu), &window_);
    connect(menuKey, &QShortcut::activated, this, [this] {
        QWidget* over = anchor_ != nullptr ? anchor_ : &window_;
        popUp(over->mapToGlobal(over->rect().center()));
    });
    refreshChecks();
}

PictureModeMenu::~PictureModeMenu() = default;

void PictureModeMenu::build() {
    addConversions();
    menu_->addSeparator();
    addAdjustment(QStringLiteral("Brightness"), Choice::Brightness);
    addAdjustment(QStringLiteral("Contrast"), Choice::Contrast);
    menu_->addSeparator();
    addChoice(*menu_, QStringLiteral("Invert"), Choice::Invert, 1);
}

// Each action reports itself: a menu's own signal would miss actions of its
// submenus that are triggered from elsewhere (a key, a test).
void PictureModeMenu::addChoice(QMenu& into, const QString& text, int kind, int value) {
    QAction* action = into.addAction(text);
    action->setData(QList<QVariant>{kind, value});
    action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, action] { take(action); });
}

void PictureModeMenu::take(const QAction* action) {
    PictureMode next = mode_;
    const Choice c = choiceOf(action);
    switch (c.kind) {
    case Choice::ConversionKind:
        next.conversion = static_cast<Conversion>(c.value);
        break;
    case Choice::HalftoneCell:
        next.conversion = Conversion::Halftone;
        next.halftoneCell = c.value;
        break;
    case Choice::Brightness:
        next.brightness = c.value;
        break;
    case Choice::Contrast:
        next.contrast = c.value;
        break;
    case Choice::Invert:
        next.invert = !next.invert;
        break;
    }
    choose(next);
}

void PictureModeMenu::addConversions() {
    for (const Conversion c : {Conversion::Threshold, Conversion::FloydSteinberg,
                               Conversion::Atkinson, Conversion::Ordered}) {
        addChoice(*menu_,
                  QString::fromUtf8(conversionName(c).data(),
                                    static_cast<qsizetype>(conversionName(c).size())),
                  Choice::ConversionKind, static_cast<int>(c));
    }
    QMenu* halftone = menu_->addMenu(QStringLiteral("Halftone"));
    for (const int cell : kHalftoneCells) {
        addChoice(*halftone, QStringLiteral("Cells of %1 dots").arg(cell), Choice::HalftoneCell,
                  cell);
    }
}

void PictureModeMenu::addAdjustment(const QString& title, int kind) {
    QMenu* sub = menu_->addMenu(title);
    for (int value = kPictureAdjustLimit; value >= -kPictureAdjustLimit; value -= kAdjustStep) {
        addChoice(*sub, signedText(value), kind, value);
    }
}

void PictureModeMenu::setMode(const PictureMode& mode) {
    mode_ = mode;
    refreshChecks();
}

void PictureModeMenu::choose(const PictureMode& mode) {
    mode_ = mode;
    refreshChecks();
    emit modeChosen(mode_);
}

void PictureModeMenu::refreshChecks() {
    for (QAction* action : menu_->findChildren<QAction*>()) {
        if (!action->isCheckable()) {
            continue;
        }
        const Choice c = choiceOf(action);
        const bool halftone = mode_.conversion == Conversion::Halftone;
        const bool on[] = {static_cast<int>(mode_.conversion) == c.value && !halftone,
                           halftone && mode_.halftoneCell == c.value, mode_.brightness == c.value,
                           mode_.contrast == c.value, mode_.invert};
        action->setChecked(on[c.kind]);
    }
}

void PictureModeMenu::popUp(QPoint globalPosition) {
    menu_->popup(globalPosition);
}

} // namespace vexilon
