#pragma once

#include <QDialog>

class ActionLabel;
class QLabel;

// The notice that the chosen picture set cannot be found. "OK" closes it.
class frmNeexistuje : public QDialog {
public:
    frmNeexistuje(QWidget* board, int cardSize, const QPixmap& tile);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    // No key closes the notice; only its "OK" does.
    void keyPressEvent(QKeyEvent*) override {}

private:
    QLabel* Label1;
    ActionLabel* lblOK;
};
