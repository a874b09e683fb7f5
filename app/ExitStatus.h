#pragma once

namespace sweepdraw {

// The statuses the program ends with. The program, its messages and the
// tests all name them, never their numbers.
enum ExitStatus : int {
    ExitOk = 0,
    ExitFailure = 1, // a run-time error, or the picture or animation could not be written
    ExitUsage = 2,   // bad command line, or no display to open the window on
    ExitSignal = 128, // plus the number of the signal that asked the program to end
};

} // namespace sweepdraw
