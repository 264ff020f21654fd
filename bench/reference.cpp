// The floor the game's start-up is measured against: a frameless screen-covering Qt window
// that opens one dialog of the new-game dialog's size with about thirty labels and radio
// buttons, then does nothing. With --six-styles the labels are set in the six type styles the
// new-game dialog shows, which tells how much of the game's cost is its typography.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>

#include <cstring>

int main(int argc, char** argv)
{
    const bool sixStyles = argc > 1 && std::strcmp(argv[1], "--six-styles") == 0;
    QApplication app(argc, argv);
    QWidget board(nullptr, Qt::FramelessWindowHint);
    board.setGeometry(QGuiApplication::primaryScreen()->geometry());
    board.showMaximized();
    QDialog dialog(&board, Qt::Dialog | Qt::FramelessWindowHint);
    dialog.setFixedSize(364, 483);
    struct Style {
        double points;
        bool bold;
        bool italic;
    };
    const Style styles[] = {{8.25, false, false}, {8.25, true, false},   {9, false, false},
                            {9.75, true, false},  {11.25, false, false}, {26.25, false, true}};
    for (int i = 0; i < 16; ++i) {
        auto* label = new QLabel(QStringLiteral("Popisek %1").arg(i), &dialog);
        if (sixStyles) {
            const Style& s = styles[i % 6];
            QFont font(QStringLiteral("Comic Neue"));
            font.setPointSizeF(s.points);
            font.setBold(s.bold);
            font.setItalic(s.italic);
            label->setFont(font);
            label->adjustSize();
        }
        label->move(40 + (i % 2) * 180, 20 + (i / 2) * 28);
        auto* button = new QRadioButton(&dialog);
        button->move(20 + (i % 2) * 180, 20 + (i / 2) * 28);
    }
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.exec(); });
    return QApplication::exec();
}
