// Invariants.h — what the rules guarantee about the game state after every tick; soak runs and
// fuzzing check them.
#pragma once

#include <optional>
#include <string>

#include "GameState.h"

namespace quarn {

// The first guarantee the state breaks, in words, or nothing when it keeps them all. Meant for a
// state after a successful load and after every tick that follows it.
// wholeBoard adds the check of every cell of the grid, the costly part.
std::optional<std::string> BrokenInvariant(const GameState& s, bool wholeBoard = true);

}  // namespace quarn
