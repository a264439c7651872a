// An event of a record or of the other machine, played through the operation the window played
// it with, so that frames, contact lines, sounds, the cue and the view are as they were.
#pragma once

#include "sim/record.h"

// The event checked beforehand: it must fit the game (see RecordPlayer::check).
void playEvent(const RecordEvent& event);
