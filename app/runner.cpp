#include "runner.h"

#include "msgbox.h"

#include <QObject>

#include <cstdlib>
#include <sys/wait.h>

void runCommand(const char *command)
{
    const int status = system(command);
    if (status == 0)
        exit(0);
    // A long command is shortened, so that the box still says what happened.
    const QByteArray shown = shortenedForMessage(command);
    if (status == -1)
        errDialog(nullptr, 1, "system(%s)", shown.constData());
    // Translations are printf formats: they keep %s and %d in this order.
    if (WIFSIGNALED(status)) {
        const QByteArray fmt =
                QObject::tr("Command '%s' was terminated by signal %d").toLocal8Bit();
        errxDialog(nullptr, 1, fmt.constData(), shown.constData(), WTERMSIG(status));
    }
    const int code = WEXITSTATUS(status);
    if (code == 127) {
        // The shell's status for a command it cannot find.
        const QByteArray fmt = QObject::tr("Command '%s' not found").toLocal8Bit();
        errxDialog(nullptr, 1, fmt.constData(), shown.constData());
    }
    const QByteArray fmt = QObject::tr("Command '%s' exited with code %d").toLocal8Bit();
    errxDialog(nullptr, 1, fmt.constData(), shown.constData(), code);
}
