// RulesPending.cpp — placeholders for the rules that are still being written; removed as they land.
#include "Game.h"

namespace quarn {

void Game::Tick() {}
void Game::Zrychlit() {}
void Game::Zpomalit() {}
void Game::RevealDebugButtons() {}
void Game::Command1() {}
void Game::Command2() {}
void Game::Command3() {}
void Game::Command4() {}
void Game::Vstupy() {}
void Game::MoveF() {}
void Game::LaserDoors() {}
void Game::Nepratele() {}
void Game::KillPlr() {}
void Game::AnimSmrt(float, int) {}
void Game::AnimRadio(int) {}
void Game::WinFlow() {}

}  // namespace quarn
