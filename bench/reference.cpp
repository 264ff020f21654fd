// The floor the game's start-up is measured against: a frameless screen-covering Qt window that
// holds one dialog of the new-game dialog's size, drawn inside it with the game's raised edge,
// with about thirty labels and radio buttons, then does nothing. With --six-styles the labels
// are set in the six type styles the new-game dialog shows, which tells how much of the game's
// cost is its typography.
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QScreen>

#include <cstring>

namespace {
// Three one-pixel rings lit from the top left, the bottom and right lines over the ends of the
// top and left ones, as the game frames its dialogs (and as the bench finds them on the screen).
class Framed : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QColor grey(0xC0, 0xC0, 0xC0);
        const QColor rings[3][2] = {
            {grey, Qt::black}, {Qt::white, QColor(0x80, 0x80, 0x80)}, {grey, grey}};
        QPainter painter(this);
        painter.fillRect(rect(), grey);
        for (int i = 0; i < 3; ++i) {
            const QRect r = rect().adjusted(i, i, -i, -i);
            painter.fillRect(r.left(), r.top(), r.width(), 1, rings[i][0]);
            painter.fillRect(r.left(), r.top(), 1, r.height(), rings[i][0]);
            painter.fillRect(r.right(), r.top(), 1, r.height(), rings[i][1]);
            painter.fillRect(r.left(), r.bottom(), r.width(), 1, rings[i][1]);
        }
    }
};
} // namespace

int main(int argc, char** argv)
{
    const bool sixStyles = argc > 1 && std::strcmp(argv[1], "--six-styles") == 0;
    QApplication app(argc, argv);
    QWidget board(nullptr, Qt::FramelessWindowHint);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    board.setGeometry(screen);
    Framed dialog(&board);
    dialog.setFixedSize(370, 489);
    dialog.move((screen.width() - dialog.width()) / 2, (screen.height() - dialog.height()) / 2);
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
        label->move(43 + (i % 2) * 180, 23 + (i / 2) * 28);
        auto* button = new QRadioButton(&dialog);
        button->move(23 + (i % 2) * 180, 23 + (i / 2) * 28);
    }
    board.showFullScreen();
    return QApplication::exec();
}
