#pragma once

#include <QApplication>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

// Arms a handler for the next modal window before the code that opens it runs. The handler
// gets the window; afterwards the window is closed whatever happened, so that a failed check
// inside the handler can never leave exec() waiting.
inline void onNextModal(std::function<void(QWidget*)> act, std::function<void()> always = {})
{
    QTimer::singleShot(0, [act = std::move(act), always = std::move(always)] {
        QWidget* modal = nullptr;
        (void)QTest::qWaitFor(
            [&] { return (modal = QApplication::activeModalWidget()) != nullptr; }, 5000);
        const auto guard = qScopeGuard([&] {
            if (always)
                always();
            if (modal && modal->isVisible())
                modal->close();
        });
        if (!modal) {
            QTest::qFail("no modal window opened", __FILE__, __LINE__);
            return;
        }
        act(modal);
    });
}
