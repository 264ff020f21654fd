#pragma once

#include "ui/LotaroDialog.h"

#include <functional>

class ActionLabel;
class QUrl;

// The program's name, author and the two addresses to write to, which open in the desktop's
// mail program and browser.
class frmAbout : public LotaroDialog {
public:
    // openUrl: how an address is handed to the desktop; the default asks QDesktopServices.
    explicit frmAbout(QWidget* board, std::function<bool(const QUrl&)> openUrl = {});

    static const QString author;
    static const QString email;
    static const QString web;

protected:
    void overBackground() override;

private:
    void underline(ActionLabel* on);

    ActionLabel* lblDisclaimer;
    ActionLabel* Label3;
};
