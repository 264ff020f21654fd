// The floor the game's start-up is measured against: a frameless screen-covering Qt window
// that opens one dialog of the new-game dialog's size with about thirty labels and radio
// buttons, then does nothing.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget board(nullptr, Qt::FramelessWindowHint);
    board.setGeometry(QGuiApplication::primaryScreen()->geometry());
    board.showMaximized();
    QDialog dialog(&board, Qt::Dialog | Qt::FramelessWindowHint);
    dialog.setFixedSize(364, 483);
    for (int i = 0; i < 16; ++i) {
        auto* label = new QLabel(QStringLiteral("Popisek %1").arg(i), &dialog);
        label->move(40 + (i % 2) * 180, 20 + (i / 2) * 28);
        auto* button = new QRadioButton(&dialog);
        button->move(20 + (i % 2) * 180, 20 + (i / 2) * 28);
    }
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.exec(); });
    return QApplication::exec();
}
