// The CI-V frame each action of a network client becomes, and what its answer tells.
#pragma once

#include "civ/frame.h"
#include "share/rigctl_radio_state.h"
#include "share/rigctl_session.h"

#include <optional>

namespace share {

civ::Frame frameFor(const Action& action, int to, int our, int frequencyBytes);

// What a radio that refuses the action (NG) may lack.
std::optional<Feature> featureOf(Action::Kind kind);

// The value a read action asks for is known.
bool knows(const RadioState& radio, Action::Kind kind);

} // namespace share
