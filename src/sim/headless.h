// The world of a headless run: a table and the sixteen balls on their rack spots.
#pragma once

// Builds the table and the balls the first time (as the game's start-up does), puts every ball
// back on its rack spot afterwards, and starts a new game for the referee.
void setUpHeadlessGame();

// Sends standard output to /dev/null while it lives, for runs too long to print every contact.
class QuietStdout {
public:
    QuietStdout();
    ~QuietStdout();
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int saved; // descriptor of the real standard output
};
