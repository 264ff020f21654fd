#include "TestMain.h"
#include "Windows.h"

#include "core/AssetStore.h"
#include "core/HallOfFame.h"
#include "core/RandomSource.h"
#include "ui/ActionLabel.h"
#include "ui/WindowLook.h"
#include "windows/frmAbout.h"
#include "windows/frmKonec2.h"
#include "windows/frmNeexistuje.h"
#include "windows/frmNováHra.h"
#include "windows/frmNápověda.h"
#include "windows/frmSkoncit.h"
#include "windows/frmSíň.h"
#include "windows/frmkonec1.h"

#include <QApplication>
#include <QLabel>
#include <QScopeGuard>
#include <QScreen>
#include <QUrl>

// The help, about, quit and missing-set windows, and the frame every dialog shares.
class DialogsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void helpText();
    void sizesAndPlacement_data();
    void sizesAndPlacement();
    void aboutLinks();
    void highlightDoesNotOutliveTheWindow();
    // Last: it installs the game's look for the whole process.
    void disabledLabelsStayReadable();

private:
    std::unique_ptr<QDialog> make(const QString& window);

    std::unique_ptr<QWidget> m_board;
    HallOfFame m_fame;
    MemoryStore m_store;
    QTemporaryDir m_temp;
    AssetStore m_assets{m_temp.path()};
    MersenneRandom m_random{1};
    FakeClock m_clock;
    RecordingSound m_sound;
};

std::unique_ptr<QDialog> DialogsTest::make(const QString& window)
{
    QWidget* b = m_board.get();
    if (window == u"frmNápověda")
        return std::make_unique<frmNápověda>(b, 980);
    if (window == u"frmSkoncit")
        return std::make_unique<frmSkoncit>(b, 980);
    if (window == u"frmNeexistuje")
        return std::make_unique<frmNeexistuje>(b, 980);
    if (window == u"frmAbout")
        return std::make_unique<frmAbout>(b, 980);
    if (window == u"frmSíň")
        return std::make_unique<frmSíň>(b, m_fame, m_store, 980, std::nullopt, nullptr);
    if (window == u"frmkonec1")
        return std::make_unique<frmkonec1>(b, HallOfFameEntry());
    if (window == u"frmKonec2")
        return std::make_unique<frmKonec2>(b, frmKonec2::Board{});
    return std::make_unique<frmNováHra>(b, Services{m_store, m_random, m_clock, m_assets, m_sound});
}

void DialogsTest::init()
{
    m_board = std::make_unique<QWidget>();
    m_board->setGeometry(QGuiApplication::primaryScreen()->geometry());
}

void DialogsTest::cleanup()
{
    m_board.reset();
    for (QWidget* w : QApplication::topLevelWidgets())
        QVERIFY(!w->isVisible());
}

// The help text as written, naming the executable that is really installed.
void DialogsTest::helpText()
{
    frmNápověda help(m_board.get(), 1300);
    const QString text = help.findChild<QLabel*>(QStringLiteral("lblNápověda"))->text();
    QCOMPARE(text, frmNápověda::helpText());
    QVERIFY(text.startsWith(QStringLiteral("Stisk klávesy Esc způsobí minimalizaci hry.")));
    QVERIFY(text.contains(QStringLiteral("obrázky,  nakopírujte je do adresáře, ve kterém je "
                                         "umístěn soubor lotaro. Obrázky")));
    QVERIFY(!text.contains(QStringLiteral(".exe")));
    QVERIFY(text.endsWith(QStringLiteral("Příjemnou zábavu vám přeje autor.")));
    QVERIFY(help.findChild<QLabel*>(QStringLiteral("lblNápověda"))->wordWrap());
}

void DialogsTest::sizesAndPlacement_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QSize>("size"); // of the client area
    QTest::addColumn<int>("panel");  // card size kept clear; 0 centred; -1 placed when shown
    QTest::newRow("help") << QStringLiteral("frmNápověda") << QSize(463, 265) << 980;
    QTest::newRow("quit") << QStringLiteral("frmSkoncit") << QSize(292, 92) << 980;
    QTest::newRow("missing set") << QStringLiteral("frmNeexistuje") << QSize(292, 92) << 980;
    QTest::newRow("about") << QStringLiteral("frmAbout") << QSize(264, 236) << 980;
    QTest::newRow("hall of fame") << QStringLiteral("frmSíň") << QSize(491, 531) << 980;
    QTest::newRow("one result") << QStringLiteral("frmkonec1") << QSize(287, 168) << 0;
    QTest::newRow("two results") << QStringLiteral("frmKonec2") << QSize(384, 193) << 0;
    QTest::newRow("new game") << QStringLiteral("frmNováHra") << QSize(364, 483) << -1;
}

// Each window's client area has its size in twips and sits 0.6 card sizes left of the
// screen's centre, or on it; the raised edge lies around it, dark lines over the corners.
void DialogsTest::sizesAndPlacement()
{
    QFETCH(QString, window);
    QFETCH(QSize, size);
    QFETCH(int, panel);
    const std::unique_ptr<QDialog> d = make(window);
    QVERIFY(d->windowFlags() & Qt::FramelessWindowHint);
    const QWidget* client = d->findChild<QWidget*>(QStringLiteral("KlientskáOblast"));
    QCOMPARE(client->geometry(), QRect(QPoint(3, 3), size));
    QCOMPARE(d->size(), size + QSize(6, 6));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const double left = (screen.width() * 15.0 - size.width() * 15.0 - 1.2 * panel) / 2;
    const double top = (screen.height() * 15.0 - size.height() * 15.0) / 2;
    if (panel >= 0)
        QCOMPARE(client->mapToGlobal(QPoint()),
                 QPoint(int(std::lround(left / 15)), int(std::lround(top / 15))));
    const QImage shown = d->grab().toImage();
    const int x = shown.width() / 2, y = shown.height() / 2, r = shown.width() - 1,
              b = shown.height() - 1;
    const QRgb lit[] = {0xFFC0C0C0, 0xFFFFFFFF, 0xFFC0C0C0},
               dark[] = {0xFF000000, 0xFF808080, 0xFFC0C0C0};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(QList<QRgb>({shown.pixel(x, i), shown.pixel(i, y)}), QList<QRgb>(2, lit[i]));
        QCOMPARE(QList<QRgb>({shown.pixel(x, b - i), shown.pixel(r - i, y), shown.pixel(r - i, i),
                              shown.pixel(i, b - i)}),
                 QList<QRgb>(4, dark[i]));
    }
    QCOMPARE(shown.pixel(3, 3), WindowLook::backgroundTile().toImage().pixel(0, 0));
    // A desktop with a dark scheme changes nothing that is drawn on the texture.
    const QPalette light = QApplication::palette();
    QApplication::setPalette(QPalette(QColor(0x35, 0x35, 0x35), QColor(0x24, 0x24, 0x24)));
    const auto restore = qScopeGuard([&] { QApplication::setPalette(light); });
    QCOMPARE(make(window)->grab().toImage(), shown);
}

// The two links open the mail program and the browser; under the mouse exactly one of them
// is underlined and shows the pointing hand.
void DialogsTest::aboutLinks()
{
    QList<QUrl> opened;
    frmAbout about(m_board.get(), 1300, [&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    about.show();
    auto* mail = about.findChild<ActionLabel*>(QStringLiteral("lblDisclaimer"));
    auto* web = about.findChild<ActionLabel*>(QStringLiteral("Label3"));
    QCOMPARE(about.findChild<QLabel*>(QStringLiteral("lblTitle"))->text(),
             QStringLiteral("Lotaro  v.1"));
    QCOMPARE(mail->cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(mail->cursor().hotSpot(), QPoint(12, 1));
    hoverOver(web);
    QVERIFY(web->font().underline() && !mail->font().underline());
    hoverOver(mail);
    QVERIFY(mail->font().underline() && !web->font().underline());
    hoverOver(&about, QPoint(about.width() - 2, about.height() - 2));
    QVERIFY(!mail->font().underline() && !web->font().underline());
    QTest::mouseClick(web, Qt::LeftButton);
    QTest::mouseClick(mail, Qt::LeftButton);
    QCOMPARE(opened,
             (QList<QUrl>{QUrl(frmAbout::web), QUrl(QStringLiteral("mailto:") + frmAbout::email)}));
    QVERIFY(frmAbout::email.endsWith(QStringLiteral("example.org")));
    QVERIFY(about.isVisible()); // the links leave the window open
    about.close();
}

// An action label is bold in a box under the mouse and loses the look with its click.
void DialogsTest::highlightDoesNotOutliveTheWindow()
{
    frmNeexistuje notice(m_board.get(), 1300);
    notice.show();
    auto* ok = notice.findChild<ActionLabel*>(QStringLiteral("lblOK"));
    hoverOver(ok);
    QVERIFY(ok->isHighlighted() && ok->font().bold() && ok->frameShape() == QFrame::Box);
    QTest::mouseClick(ok, Qt::LeftButton);
    QVERIFY(!ok->isHighlighted() && !ok->font().bold() && !notice.isVisible());
}

// The board's panel is disabled while a dialog is open; its text must still stand out from
// the paper grey behind it.
void DialogsTest::disabledLabelsStayReadable()
{
    WindowLook::installLook();
    QWidget window;
    window.resize(200, 60);
    WindowLook::paintBackground(&window, QPixmap()); // the tile's average grey, B6B4B5
    auto* label = new QLabel(QStringLiteral("Čas: 0:00:00"), &window);
    label->setFont(WindowLook::comicFont(9.75, true));
    label->adjustSize();
    label->setEnabled(false);
    const QImage shown = window.grab().toImage();
    int darkest = 255;
    for (int y = 0; y < label->height(); ++y)
        for (int x = 0; x < label->width(); ++x)
            darkest = qMin(darkest, qGray(shown.pixel(x, y)));
    QVERIFY2(darkest <= qGray(0xB6B4B5) - 40, qPrintable(QString::number(darkest)));
}

LOTARO_TEST_MAIN(DialogsTest, QApplication)
#include "tst_dialogs.moc"
