#include "Hover.h"
#include "TestMain.h"

#include "ui/ActionLabel.h"
#include "ui/WindowLook.h"
#include "windows/frmAbout.h"
#include "windows/frmNeexistuje.h"
#include "windows/frmNápověda.h"
#include "windows/frmSkoncit.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QUrl>

// The help, about, quit and missing-set windows.
class DialogsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void helpText();
    void sizesAndPlacement();
    void quitConfirmation_data();
    void quitConfirmation();
    void aboutLinks();
    void highlightDoesNotOutliveTheWindow();
    // Last: it installs the game's look for the whole process.
    void disabledLabelsStayReadable();

private:
    std::unique_ptr<QWidget> m_board;
};

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

// Each window has its size in twips and sits 0.6 card sizes left of the screen's centre.
void DialogsTest::sizesAndPlacement()
{
    frmNápověda help(m_board.get(), 980);
    frmSkoncit quit(m_board.get(), 980);
    frmNeexistuje missing(m_board.get(), 980);
    frmAbout about(m_board.get(), 980);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const struct {
        QDialog* d;
        QSize size;
    } windows[] = {
        {&help, {463, 265}}, {&quit, {292, 92}}, {&missing, {292, 92}}, {&about, {264, 236}}};
    for (const auto& w : windows) {
        QCOMPARE(w.d->size(), w.size);
        const double left = (screen.width() * 15.0 - w.size.width() * 15.0 - 1.2 * 980) / 2;
        const double top = (screen.height() * 15.0 - w.size.height() * 15.0) / 2;
        QCOMPARE(w.d->pos(), QPoint(int(std::lround(left / 15)), int(std::lround(top / 15))));
        QVERIFY(w.d->windowFlags() & Qt::FramelessWindowHint);
    }
}

void DialogsTest::quitConfirmation_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("confirmed");
    QTest::newRow("OK") << QStringLiteral("lblOK") << true;
    QTest::newRow("Storno") << QStringLiteral("lblStorno") << false;
    QTest::newRow("closed otherwise") << QString() << false;
    QTest::newRow("Escape") << QStringLiteral("Escape") << false;
}

void DialogsTest::quitConfirmation()
{
    QFETCH(QString, answer);
    frmSkoncit quit(m_board.get(), 1300);
    quit.show();
    QVERIFY(quit.findChild<ActionLabel*>(QStringLiteral("lblStorno"))->x() <
            quit.findChild<ActionLabel*>(QStringLiteral("lblOK"))->x());
    if (answer == u"Escape") {
        QTest::keyClick(&quit, Qt::Key_Escape);
        QVERIFY(quit.isVisible());
        quit.close();
    } else if (answer.isEmpty()) {
        quit.close();
    } else {
        QTest::mouseClick(quit.findChild<ActionLabel*>(answer), Qt::LeftButton);
    }
    QVERIFY(!quit.isVisible());
    QTEST(quit.result() == QDialog::Accepted, "confirmed");
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

// A window opened again starts with every label in its normal look.
void DialogsTest::highlightDoesNotOutliveTheWindow()
{
    for (int round = 0; round < 2; ++round) {
        frmNeexistuje notice(m_board.get(), 1300);
        notice.show();
        auto* ok = notice.findChild<ActionLabel*>(QStringLiteral("lblOK"));
        QVERIFY(!ok->isHighlighted());
        hoverOver(ok);
        QVERIFY(ok->isHighlighted());
        QVERIFY(ok->font().bold());
        QTest::mouseClick(ok, Qt::LeftButton);
        QVERIFY(!ok->isHighlighted());
        QVERIFY(!notice.isVisible());
    }
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
