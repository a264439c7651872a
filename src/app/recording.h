// The game written to a record as it is played, when the command line names a file for it.
#pragma once

#include "sim/record.h"

// Opens `path` for the record and writes its first lines: the header, the new game and the aim
// the window starts with. False (after a line on the error stream) when it cannot be written.
bool startRecording(const char* path);
// Closes the record, every line written; nothing more is recorded.
void stopRecording();
// Hears every event of the game as it happens, recorded or not (the network game sends them on);
// null for none.
void setEventListener(void (*listener)(const RecordEvent& event));
// Writes one event, timed since the recording began, when a record is open; a record that can no
// longer be written is said once on the error stream and closed, and the game plays on.
void recordEvent(RecordEvent event);
