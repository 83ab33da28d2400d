#include "ui/digit_keys.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>

namespace vexilon {
namespace {

bool allowedCharacter(QChar c) {
    return !c.isPrint() || (c >= u'0' && c <= u'9') || c == u'-';
}

class DigitKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            // Keys held with Ctrl, Alt or Meta are shortcuts, not typing, even
            // where the platform gives them a text.
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool shortcut = (key->modifiers() &
                                   (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
            const QString text = key->text();
            if (!shortcut && !std::all_of(text.begin(), text.end(), allowedCharacter)) {
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void acceptOnlyDigitsAndMinus(QLineEdit* box) {
    box->installEventFilter(new DigitKeys(box));
}

} // namespace vexilon
