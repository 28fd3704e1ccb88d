// The windows answering during a walk through dropped folders (add_path.h): the walk
// runs on the windows' thread and lets their messages run between two folders.
#pragma once

namespace tessel::player {

// Runs the messages waiting for this thread. False when Esc was pressed on one of its
// windows meanwhile (that key press ends the walk and goes no further) or the program
// is to quit (WM_QUIT, posted again for the main loop).
bool LetWindowsAnswerDuringWalk();

}  // namespace tessel::player
