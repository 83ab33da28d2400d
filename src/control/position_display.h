#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <optional>
#include <utility>

class QLineEdit;

namespace vexilon {

// The coordinate boxes: the last dot the machine reported, in decimal without
// leading zeros, or "000". A machine reports up to 1,152 dots a second, and
// laying out and painting two texts for each costs more than the rest of the
// carving together: the boxes follow at most once a screen frame (1/60 s),
// each time the last dot so far, and a text is set only when it changes.
class PositionDisplay : public QObject {
    Q_OBJECT
public:
    PositionDisplay(QLineEdit& xBox, QLineEdit& yBox, QObject* parent = nullptr);

    void show(int x, int y);
    // At once, and a dot still waiting for its frame is dropped.
    void reset();

private:
    void showPending();
    void setTexts(const QString& x, const QString& y);

    QLineEdit& xBox_;
    QLineEdit& yBox_;
    std::optional<std::pair<int, int>> pending_;
    QElapsedTimer lastShown_;
    QTimer frame_;
};

} // namespace vexilon
