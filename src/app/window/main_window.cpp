#include "app/window/main_window.h"

#include "app/window/placeholder_picture.h"
#include "ui/drop_target.h"
#include "ui/form_fonts.h"
#include "ui/interval_timer.h"

#include <QCloseEvent>
#include <QShowEvent>

namespace vexilon {

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent), verifyTimer_(new IntervalTimer(this)),
      runTimeTimer_(new IntervalTimer(this)), dropTarget_(new DropTarget(this)) {
    ui.setupUi(this);
    applyFormFontPixelSizes(this);
    // uic drops carriage returns from form strings; the title keeps its
    // "\r\n" ending and is passed on as it is.
    setWindowTitle(QStringLiteral("Miniature Vexilon\r\n"));
    // Fixed size (the form sets minimum = maximum): caption bar with system
    // menu, minimise and close, but no maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);

    verifyTimer_->setObjectName(QStringLiteral("VerifyTimer"));
    runTimeTimer_->setObjectName(QStringLiteral("RunTimeTimer"));
    dropTarget_->setObjectName(QStringLiteral("DropTarget"));

    ui.PreviewPicture->setPicture(placeholderPicture());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    QWidget::closeEvent(event);
}

void MainWindow::showEvent(QShowEvent* event) {
    centring_.onShow(*this, *event);
    QWidget::showEvent(event);
}

} // namespace vexilon
