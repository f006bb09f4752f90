// Runs one command or one error box, driven by the probe (see probe.cpp):
//   probe_runner run COMMAND         runCommand(COMMAND)
//   probe_runner run-reaped COMMAND  the same with SIGCHLD ignored, so that the
//                                    shell's status cannot be collected
//   probe_runner err TEXT            errDialog("%s", TEXT) with errno EAGAIN
//   probe_runner errx TEXT           errxDialog("%s", TEXT)
//   probe_runner action N            runAction(N) over commands that each
//                                    print "ran" and their variable's name
#include "commands.h"
#include "msgbox.h"
#include "runner.h"

#include <QApplication>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const char *mode = argv[1];
    if (!strcmp(mode, "run"))
        runCommand(argv[2]);
    if (!strcmp(mode, "run-reaped")) {
        signal(SIGCHLD, SIG_IGN);
        runCommand(argv[2]);
    }
    if (!strcmp(mode, "err")) {
        errno = EAGAIN;
        errDialog(nullptr, 1, "%s", argv[2]);
    }
    if (!strcmp(mode, "errx"))
        errxDialog(nullptr, 1, "%s", argv[2]);
    if (!strcmp(mode, "action")) {
        QByteArray echoes[commandCount];
        CommandSet commands;
        for (int index = 0; index < commandCount; ++index) {
            echoes[index] = QByteArray("echo ran ") + actionCommands[index].name;
            commands.command[index] = echoes[index].constData();
        }
        runAction(commands, atoi(argv[2]));
    }
    return 2;
}
