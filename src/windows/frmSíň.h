#pragma once

#include "ui/LotaroDialog.h"

#include <array>
#include <functional>
#include <optional>

class HallOfFame;
class QLabel;
class QTimer;
class SettingsStore;

// The hall of fame: the five best results of each board size, largest board first. After a
// game that made a new entry, the entry's row is bold and blinks and the end-of-game sound
// plays once. "Vymazat" empties all tables, "OK" stores them and closes the window.
class frmSíň : public LotaroDialog {
public:
    // newEntryRow: the row to mark after a game that entered the tables; nothing when opened
    // from the menu. playEndSound is asked only while the sound is on.
    frmSíň(QWidget* board, HallOfFame& fame, SettingsStore& store, int cardSize,
           std::optional<int> newEntryRow, std::function<void()> playEndSound);

private:
    void showTables();
    void Timer1Tick();
    void unmark();
    void rowBold(int row, bool bold);
    void rowVisible(int row, bool visible);
    void clickOK();
    void clickVymazat();

    HallOfFame& m_fame;
    SettingsStore& m_store;
    std::optional<int> m_newEntryRow;
    std::function<void()> m_playEndSound;
    std::array<QLabel*, 15> lblJméno{}, lblDatum{}, lblOtočené{}, lblČas{};
    QTimer* Timer1;
    quint8 tickCount = 0;
};
