#include "qt_environment.h"

#include "ui/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace vexilon {
namespace {

TEST(MessageBox, ShowsTextAndCaptionWithOneOkButtonAndNoOwner) {
    QString text, caption;
    QList<QAbstractButton*> buttons;
    QWidget* owner = reinterpret_cast<QWidget*>(1);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        poll.stop();
        text = box->text();
        caption = box->windowTitle();
        buttons = box->buttons();
        owner = box->parentWidget();
        if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
            ok->click();
        } else {
            box->done(0);
        }
    });
    poll.start(10);
    showMessage(QStringLiteral("Wrong File Type"), QStringLiteral("Sorry "));
    EXPECT_EQ(text, QStringLiteral("Wrong File Type"));
    EXPECT_EQ(caption, QStringLiteral("Sorry "));
    EXPECT_EQ(buttons.size(), 1);
    EXPECT_EQ(owner, nullptr);
}

} // namespace
} // namespace vexilon
