#pragma once

#include "ui/HoverGroup.h"
#include "core/Services.h"
#include "core/GameSettings.h"

#include "ui/FramedDialog.h"

#include <array>
#include <functional>

class ActionLabel;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;
struct RunState;

// The new-game dialog: players and names, board, pictures, back and flip-back. Loaded once per
// run, it also sets the run up (assets, card size, hall of fame); afterwards it is only hidden
// and shown. "OK" stores the choice and lets the board deal; "Konec" ends the program.
class frmNováHra : public FramedDialog {
public:
    // endProgram: what ending the program means for the run (the dialog's unloading).
    frmNováHra(QWidget* board, RunState& run, const Services& services,
               std::function<void()> loadHallOfFame, std::function<void()> endProgram);

    // Shows the dialog modally; true when it was left with "OK".
    bool showModal();

    // The choice as the dialog's buttons and name boxes hold it.
    OptionChoice choice() const;

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Group {
        const char* name;      // "Hráči" for optHráči and lblHráči, …
        const char* frameName; // its container
        int left, top, height; // the container, in twips
        std::vector<const char*> captions;
        int field; // OptionChoice member it sets
        QButtonGroup* buttons = nullptr;
        HoverGroup labels;
    };

    void buildControls();
    void buildGroup(Group& group, int captionLeft, int buttonHeight);
    void load();
    void startUnpacking();
    void select(Group& group, int index);
    void playersChanged();
    void clickOK();
    void clickKonec();

    RunState& m_run;
    Services m_services;
    std::function<void()> m_loadHallOfFame;
    std::function<void()> m_endProgram;
    bool m_loaded = false;
    bool m_unpackStarted = false;
    bool m_ending = false;

    std::array<Group, 5> m_groups; // players, board size, face, back, flip-back
    QLabel* Label3 = nullptr;
    QLineEdit* txtHráč1 = nullptr;
    QLineEdit* txtHráč2 = nullptr;
    ActionLabel* lblOK = nullptr;
    ActionLabel* lblKonec = nullptr;
};
