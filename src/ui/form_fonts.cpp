#include "ui/form_fonts.h"

#include <QFont>
#include <QVariant>
#include <QWidget>

namespace vexilon {

namespace {

void applyPixelSize(QWidget* widget) {
    bool ok = false;
    const int pixels = widget->property(kFontPixelSizeProperty).toInt(&ok);
    if (!ok || pixels <= 0) {
        return;
    }
    QFont font = widget->font();
    font.setPixelSize(pixels);
    widget->setFont(font);
}

} // namespace

void applyFormFontPixelSizes(QWidget* root) {
    if (root == nullptr) {
        return;
    }
    applyPixelSize(root);
    for (QWidget* child : root->findChildren<QWidget*>()) {
        applyPixelSize(child);
    }
}

} // namespace vexilon
