#include "FramedDialog.h"

#include "core/Twips.h"
#include "ui/WindowLook.h"

#include <QPainter>

using Twips::toPixels;

FramedDialog::FramedDialog(QWidget* board, const QString& name, int widthTwips, int heightTwips)
    : QDialog(board, Qt::Dialog | Qt::FramelessWindowHint), m_client(new QWidget(this))
{
    setObjectName(name);
    setWindowTitle(QStringLiteral("Lotaro"));
    setFont(WindowLook::comicFont(8.25));
    const QSize client(toPixels(widthTwips), toPixels(heightTwips));
    setFixedSize(client + QSize(2 * edge, 2 * edge));
    setMouseTracking(true);
    m_client->setObjectName(QStringLiteral("KlientskáOblast"));
    m_client->setGeometry(QRect(QPoint(edge, edge), client));
    // Moves over the bare client area pass on to the dialog, which tells the bare window apart.
    m_client->setMouseTracking(true);
    WindowLook::paintBackground(m_client, WindowLook::backgroundTile(board));
}

bool FramedDialog::isBare(QPoint at) const
{
    const QWidget* under = childAt(at);
    return under == nullptr || under == m_client;
}

void FramedDialog::paintEvent(QPaintEvent*)
{
    // Two rings lit from the top left, then a ring of the dialog grey; the bottom and right
    // lines run to the corners, over the ends of the top and left ones.
    const struct {
        QColor topLeft, bottomRight;
    } rings[edge] = {{QColor(0xC0, 0xC0, 0xC0), Qt::black},
                     {Qt::white, QColor(0x80, 0x80, 0x80)},
                     {QColor(0xC0, 0xC0, 0xC0), QColor(0xC0, 0xC0, 0xC0)}};
    QPainter painter(this);
    for (int i = 0; i < edge; ++i) {
        const QRect r = rect().adjusted(i, i, -i, -i);
        painter.fillRect(r.left(), r.top(), r.width(), 1, rings[i].topLeft);
        painter.fillRect(r.left(), r.top(), 1, r.height(), rings[i].topLeft);
        painter.fillRect(r.right(), r.top(), 1, r.height(), rings[i].bottomRight);
        painter.fillRect(r.left(), r.bottom(), r.width(), 1, rings[i].bottomRight);
    }
}
