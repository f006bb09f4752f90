#include "commands.h"

#include "buildconfig.h"
#include "mainwin.h"
#include "msgbox.h"
#include "runner.h"

#include <QObject>

const ActionCommand actionCommands[commandCount] = {
        {LockAction, 'L', "lock", FAREWELLDESK_LOCK_COMMAND},
        {LogoutAction, 'l', "logout", FAREWELLDESK_LOGOUT_COMMAND},
        {ShutdownAction, 's', "shutdown", FAREWELLDESK_SHUTDOWN_COMMAND},
        {RebootAction, 'r', "reboot", FAREWELLDESK_REBOOT_COMMAND},
        {SuspendAction, 'S', "suspend", FAREWELLDESK_SUSPEND_COMMAND},
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
