#pragma once

// Runs the command through the shell and ends the process: status 0 when the
// command succeeded, otherwise an error box and status 1.
[[noreturn]] void runCommand(const char *command);
