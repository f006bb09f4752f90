#include "commands.h"

#include "mainwin.h"
#include "msgbox.h"
#include "runner.h"

#include <QObject>

const ActionCommand actionCommands[commandCount] = {
        {LockAction, 'L', "lock", "metalock"},
        {LogoutAction, 'l', "logout", "fluxbox exit"},
        {ShutdownAction, 's', "shutdown", "shutdown -p now"},
        {RebootAction, 'r', "reboot", "shutdown -r now"},
        {SuspendAction, 'S', "suspend", "acpiconf -s 3"},
};

void runAction(const CommandSet &commands, int action)
{
    const int index = commandIndex(&ActionCommand::action, action);
    if (index < 0) {
        //: A printf format: keep %d, the action's number.
        const QByteArray fmt = QObject::tr("No command for action %d").toLocal8Bit();
        errxDialog(nullptr, 1, fmt.constData(), action);
    }
    runCommand(commands.command[index]);
}
