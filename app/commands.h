// Which command each of the chooser's actions runs, and where that command
// comes from: its option, its variable in the configuration file, its default.
#pragma once

struct ActionCommand
{
    int action; // the chooser's ActionId
    char option; // the command-line option that replaces the command
    const char *name; // its variable in the configuration file
    const char *defaultCommand; // chosen when the build is configured
};

constexpr int commandCount = 5;

// The one table that ties actions to commands, in the order of the variables
// in the configuration: lock, logout, shutdown, reboot, suspend. The timer is
// not in it: when its time is up, it runs the shutdown action's command.
extern const ActionCommand actionCommands[commandCount];

// The commands in the order of the table: borrowed pointers into the
// configuration or into argv, both of which outlive the run.
struct CommandSet
{
    const char *command[commandCount];
};

// The index of the command whose field holds the value, or -1 when none does.
template<typename Value>
int commandIndex(Value ActionCommand::*field, Value value)
{
    for (int index = 0; index < commandCount; ++index)
        if (actionCommands[index].*field == value)
            return index;
    return -1;
}

// Runs the action's command through runCommand(), which ends the process. An
// action without a command runs nothing: an error box names it, then status 1.
[[noreturn]] void runAction(const CommandSet &commands, int action);
