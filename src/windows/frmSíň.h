#pragma once

#include "ui/Blinker.h"
#include "ui/LotaroDialog.h"

#include <array>
#include <functional>
#include <optional>

#include "core/HallOfFame.h"

class QLabel;

// The hall of fame: the five best results of each board size, largest board first. After a
// game that made a new entry, the entry's row is bold and blinks and the end-of-game sound
// plays once. "Vymazat" empties all tables; "OK" closes the window, and the board stores the
// tables, as it does after any other close (the desktop's close is the window's "OK").
class frmSíň : public LotaroDialog {
public:
    struct Place {
        int sizeClass;
        int place; // 0 … 4
    };
    // newEntry: the place to mark after a game that entered the tables; nothing when opened
    // from the menu. playEndSound is asked only while the sound is on.
    frmSíň(QWidget* board, const HallOfFame& fame, std::optional<Place> newEntry,
           std::function<void()> playEndSound);

    // The row that shows a place: the large table first.
    static int rowOf(Place p);
    // "Vymazat" was clicked: "OK" stores the empty tables.
    bool cleared() const { return m_cleared; }

private:
    void showTables();
    void unmark();
    void rowBold(int row, bool bold);
    void clickOK();
    void clickVymazat();

    HallOfFame m_fame;
    bool m_cleared = false;
    std::optional<int> m_newEntryRow;
    std::array<QLabel*, 15> lblJméno{}, lblDatum{}, lblOtočené{}, lblČas{};
    Blinker m_blink;
};
