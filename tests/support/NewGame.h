#pragma once

#include "Modal.h"

#include "ui/ActionLabel.h"

#include <QAbstractButton>
#include <QDialog>

#include <functional>

// Answers the next new-game dialog: adjusts it if asked, then clicks its "OK".
inline void answerNewGame(std::function<void(QWidget*)> adjust = {})
{
    onNextModal(
        [adjust = std::move(adjust)](QWidget* dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("frmNováHra"));
            if (adjust)
                adjust(dialog);
            QTest::mouseClick(dialog->findChild<ActionLabel*>(QStringLiteral("lblOK")),
                              Qt::LeftButton);
        },
        {}, QStringLiteral("frmNováHra"));
}

// Clicks the caption of an option, as a player would choose it.
inline void chooseCaption(QWidget* dialog, const QString& name)
{
    auto* caption = dialog->findChild<ActionLabel*>(name);
    QVERIFY2(caption, qPrintable(name));
    QTest::mouseClick(caption, Qt::LeftButton);
}

// Answers the next modal window of that name with its "OK".
inline void answerOK(const QString& name)
{
    onNextModal(
        [](QWidget* window) {
            QTest::mouseClick(window->findChild<ActionLabel*>(QStringLiteral("lblOK")),
                              Qt::LeftButton);
        },
        {}, name);
}
