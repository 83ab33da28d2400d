// The least a position box can cost: a bare window holding one line edit of
// the boxes' size and font, its text changed 60 times a second and nothing
// else. What carving costs above this is the console's own.
#include <QApplication>
#include <QFont>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(1007, 636);
    QLineEdit box(&window);
    box.setGeometry(800, 544, 72, 40);
    QFont font(QStringLiteral("Calibri"));
    font.setPixelSize(29);
    box.setFont(font);
    box.setAlignment(Qt::AlignCenter);
    window.show();

    int dot = 0;
    QTimer frame;
    frame.setTimerType(Qt::PreciseTimer);
    QObject::connect(&frame, &QTimer::timeout, [&] { box.setText(QString::number(++dot % 512)); });
    frame.start(16);
    return QApplication::exec();
}
