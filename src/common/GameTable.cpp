#include "common/GameTable.h"

#include <stdexcept>

namespace zorvek {

namespace {

// Registry keys and executable entries are as the games' installers write them;
// the last entry has no leading backslash. United Offensive has no Steam edition.
constexpr std::array<GameInfo, kGameCount> kGames{{
    {"CoD:WaW", "/zorvek/zorvek_listservers_codwaw.txt", "000", "codwaw\\",
     "SOFTWARE\\Activision\\Call of Duty WAW", "\\CoDWaWmp.exe", 10090},
    {"CoD4:MW", "/zorvek/zorvek_listservers_cod4.txt", "000", "cod4\\",
     "SOFTWARE\\Activision\\Call of Duty 4", "\\iw3mp.exe", 7940},
    {"CoD:UO", "/zorvek/zorvek_listservers_coduo.txt", "00", "cod1-coduo\\",
     "SOFTWARE\\Activision\\Call of Duty United Offensive", "\\CoDUOMP.exe", 0},
    {"CoD1", "/zorvek/zorvek_listservers_cod.txt", "000", "cod1-coduo\\",
     "SOFTWARE\\Activision\\Call of Duty", "\\CoDMP.exe", 2620},
    {"CoD2", "/zorvek/zorvek_listservers_cod2.txt", "000", "cod2\\", "SOFTWARE\\Activision\\Call of Duty 2",
     "cod2mp_s.exe", 2630},
}};

} // namespace

const std::array<GameInfo, kGameCount>& GameTable()
{
    return kGames;
}

const GameInfo& Game(int index)
{
    if (index < 1 || index > kGameCount)
        throw std::out_of_range("game index out of range");
    return kGames[static_cast<std::size_t>(index - 1)];
}

} // namespace zorvek
