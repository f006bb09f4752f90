#pragma once

// The whole program but for main(): start-up, the chooser and the timer, and
// the chosen command. Returns main's status or ends the process itself.
int runFarewelldesk(int &argc, char **argv);
