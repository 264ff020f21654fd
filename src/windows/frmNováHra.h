#pragma once

#include "core/GameSettings.h"
#include "core/Services.h"
#include "ui/HoverGroup.h"
#include "ui/LotaroDialog.h"

#include <array>
#include <optional>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;

// The new-game dialog: players and names, board, pictures, back and flip-back. Loaded once per
// run, it also starts the unpacking of the assets and fixes the card size; afterwards it is only
// hidden and shown. "OK" stores the choice; "Konec" or any other close means the player quits.
class frmNováHra : public LotaroDialog {
public:
    frmNováHra(QWidget* board, const Services& services);

    // Shows the dialog modally. Answers the options of the next game after "OK", nothing when
    // the player chose to end the program.
    std::optional<GameSettings> ask();

    // The choice as the dialog's buttons and name boxes hold it.
    OptionChoice choice() const;
    // Whether the last "OK" could store the choice.
    bool choiceStored() const { return m_stored; }

protected:
    // Only the dialog's own background clears the looks; its controls do not.
    void overBackground() override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Group {
        const char* optName;   // the option buttons, "optHráči" …
        const char* lblName;   // their captions, "lblHráči" …
        const char* frameName; // their container
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

    Services m_services;
    bool m_loaded = false;
    bool m_unpackStarted = false;
    bool m_stored = true;
    int m_cardSize = 1300; // fixed from the screen at the first load

    std::array<Group, 5> m_groups; // players, board size, face, back, flip-back
    QLabel* Label3 = nullptr;
    QLineEdit* txtHráč1 = nullptr;
    QLineEdit* txtHráč2 = nullptr;
};
