#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

// Arms a handler for the next modal window before the code that opens it runs. The handler
// gets the window; afterwards the window is closed whatever happened, so that a failed check
// inside the handler can never leave exec() waiting.
//
// The handler polls from a timer rather than waiting in a loop of its own, so that several
// handlers can be armed at once without one blocking the modal loop that another must end.
// With a name, it waits for a modal window of that name.
inline void onNextModal(std::function<void(QWidget*)> act, std::function<void()> always = {},
                        const QString& name = QString())
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(5);
    const QDeadlineTimer deadline(5000);
    QObject::connect(poll, &QTimer::timeout, poll, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool found =
            modal && modal->isVisible() && (name.isEmpty() || modal->objectName() == name);
        if (!found && !deadline.hasExpired())
            return;
        poll->stop();
        poll->deleteLater();
        const auto guard = qScopeGuard([&] {
            if (always)
                always();
            if (found && modal->isVisible())
                modal->close();
        });
        if (!found) {
            QTest::qFail("no modal window opened", __FILE__, __LINE__);
            return;
        }
        act(modal);
    });
    poll->start();
}

// Scenarios whose outcome does not depend on the screen run on one size only.
inline bool skipOffMainScreen(std::initializer_list<const char*> sizeDependent)
{
    const bool main = QGuiApplication::primaryScreen()->size() == QSize(1024, 768);
    for (const char* name : sizeDependent)
        if (qstrcmp(QTest::currentTestFunction(), name) == 0)
            return false;
    return !main;
}
