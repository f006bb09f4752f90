#include "startup.h"

#include "bgwin.h"
#include "conf.h"
#include "countdown.h"
#include "icons.h"
#include "mainwin.h"
#include "msgbox.h"
#include "runner.h"
#include "timerwin.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

enum CommandSlot { Lock, Logout, Shutdown, Reboot, Suspend, CommandCount };

const ConfVar commandTemplate[CommandCount] = {
        {"lock", CONF_STRING, Lock, "metalock"},
        {"logout", CONF_STRING, Logout, "fluxbox exit"},
        {"shutdown", CONF_STRING, Shutdown, "shutdown -p now"},
        {"reboot", CONF_STRING, Reboot, "shutdown -r now"},
        {"suspend", CONF_STRING, Suspend, "acpiconf -s 3"},
};

// Borrowed pointers into the configuration or into argv; both outlive the run.
struct CommandSet
{
    const char *command[CommandCount];
};

// The command each ActionId of the chooser runs; the timer runs the shutdown
// command later, through the countdown.
CommandSlot commandFor(int action)
{
    switch (action) {
    case LogoutAction:
        return Logout;
    case RebootAction:
        return Reboot;
    case SuspendAction:
        return Suspend;
    case LockAction:
        return Lock;
    default:
        return Shutdown;
    }
}

const char programName[] = "farewelldesk";

// Qt's xcb GL integration costs tens of milliseconds and megabytes at start-up,
// and this program draws nothing with OpenGL. Qt reads the variable when it
// creates the first window and keeps its choice; the variable is gone again
// before any command runs, so the commands never see it.
const char glIntegrationVariable[] = "QT_XCB_GL_INTEGRATION";

bool disableGlIntegration()
{
    if (!qEnvironmentVariableIsEmpty(glIntegrationVariable))
        return false; // the user's own choice stands
    qputenv(glIntegrationVariable, "none");
    return true;
}

void restoreGlIntegration(bool disabled)
{
    if (disabled)
        qunsetenv(glIntegrationVariable);
}

// The value of Qt's own option -NAME (or --NAME) in argv, or null. Qt reads
// these from anywhere in the arguments.
const char *qtOption(int argc, char **argv, const char *name)
{
    for (int i = 1; i + 1 < argc; ++i) {
        const char *arg = argv[i];
        if (arg[0] == '-' && arg[1] == '-')
            ++arg;
        if (arg[0] == '-' && strcmp(arg + 1, name) == 0)
            return argv[i + 1];
    }
    return nullptr;
}

bool usesX11(int argc, char **argv)
{
    const char *platform = qtOption(argc, argv, "platform");
    if (!platform)
        platform = getenv("QT_QPA_PLATFORM");
    if (!platform || !*platform)
        return true; // Qt's default on X11 systems
    return strncmp(platform, "xcb", 3) == 0 && (platform[3] == '\0' || platform[3] == ':');
}

// Qt ends with an abort and a core dump when it cannot reach the X display;
// for a user's plain mistake one line and status 1 are enough. The texts are
// not translated: no catalogue is loaded before the application exists.
void requireDisplay(int argc, char **argv)
{
    if (!usesX11(argc, argv))
        return;
    const char *display = qtOption(argc, argv, "display");
    if (!display)
        display = getenv("DISPLAY");
    xcb_connection_t *connection = xcb_connect(display, nullptr);
    const bool reached = !xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (reached)
        return;
    if (display && *display)
        fprintf(stderr, "%s: cannot open display '%s'\n", programName, display);
    else
        fprintf(stderr, "%s: cannot open display: DISPLAY is not set\n", programName);
    exit(1);
}

// Qt's own catalogue translates the texts Qt draws itself, such as the OK
// button of the error boxes. The program's catalogue is installed last so that
// it is asked first.
void installTranslations(QApplication &app, QTranslator &qtTranslator, QTranslator &translator)
{
    if (qtTranslator.load(QLocale(), "qtbase", "_",
                          QLibraryInfo::location(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTranslator);
    if (translator.load(QLocale(), programName, "_", FAREWELLDESK_TRANSLATION_DIR))
        app.installTranslator(&translator);
}

ConfSection *loadConfiguration()
{
    ConfSection *config = conf_load(programName, "config", commandTemplate, CommandCount);
    if (!config && errno == ENOENT)
        config = conf_new_section(nullptr, commandTemplate, CommandCount);
    if (!config)
        errxDialog(nullptr, 1, "%s", conf_error_text());
    return config;
}

// Ends the process silently when another instance of this user holds the lock.
// The descriptor stays open for the life of the process; it is close-on-exec so
// that a command left running in the background does not keep the lock.
void takeInstanceLock()
{
    const passwd *pw = getpwuid(getuid());
    if (!pw)
        errDialog(nullptr, 1, "getpwuid()");
    char path[1024];
    const int length = snprintf(path, sizeof path, "%s/%s", pw->pw_dir, ".farewelldesk.lock");
    endpwent();
    if (length < 0 || static_cast<size_t>(length) >= sizeof path) {
        errno = ENAMETOOLONG;
        errDialog(nullptr, 1, "open(%s)", path);
    }
    const int fd = open(path, O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    if (fd == -1)
        errDialog(nullptr, 1, "open(%s)", path);
    if (flock(fd, LOCK_EX | LOCK_NB) == -1) {
        if (errno == EWOULDBLOCK)
            exit(0);
        errDialog(nullptr, 1, "flock()");
    }
}

[[noreturn]] void usage()
{
    const int width = sizeof programName - 1;
    fprintf(stderr,
            "Usage: %s [-L <lock command>] [-S <suspend command>]\n"
            "       %-*s [-l <logout command>] [-r <reboot command>]\n"
            "       %-*s [-s <shutdown command>]\n",
            programName, width, "", width, "");
    exit(1);
}

void applyOptions(int argc, char **argv, CommandSet &commands)
{
    // glibc's getopt would look past the first operand; "+" keeps the POSIX
    // rule that BSD's getopt follows: parsing stops there.
#ifdef __GLIBC__
    const char *options = "+l:r:s:S:L:";
#else
    const char *options = "l:r:s:S:L:";
#endif
    int option;
    while ((option = getopt(argc, argv, options)) != -1) {
        switch (option) {
        case 'L':
            commands.command[Lock] = optarg;
            break;
        case 'S':
            commands.command[Suspend] = optarg;
            break;
        case 'l':
            commands.command[Logout] = optarg;
            break;
        case 'r':
            commands.command[Reboot] = optarg;
            break;
        case 's':
            commands.command[Shutdown] = optarg;
            break;
        default:
            usage();
        }
    }
}

// Runs the chooser until the user picks an action; the timer dialog, when
// cancelled, brings the chooser back. Returns false when the chooser was closed.
bool chooseAction(BgWin *backdrop, Mainwin *chooser, int &action, Timerwin *&timer)
{
    for (;;) {
        if (chooser->exec() != QDialog::Accepted)
            return false;
        action = chooser->getAction();
        if (action != TimerAction)
            return true;
        timer = new Timerwin(backdrop);
        if (timer->exec() == QDialog::Accepted)
            return true;
        delete timer;
        timer = nullptr;
    }
}

} // namespace

int runFarewelldesk(int &argc, char **argv)
{
    requireDisplay(argc, argv);
    const bool glDisabled = disableGlIntegration();
    QApplication app(argc, argv);
    installFallbackIcons();
    QTranslator qtTranslator;
    QTranslator translator;
    installTranslations(app, qtTranslator, translator);

    // Configuration first, then the lock, then the options: a second instance
    // ends silently even with bad options, but every instance reports a broken
    // configuration file.
    const ConfSection *config = loadConfiguration();
    takeInstanceLock();
    CommandSet commands;
    for (int slot = 0; slot < CommandCount; ++slot)
        commands.command[slot] = config->vars[slot].value.text;
    applyOptions(argc, argv, commands);

    BgWin *backdrop = new BgWin(nullptr);
    Mainwin *chooser = new Mainwin(backdrop);
    restoreGlIntegration(glDisabled);
    int action = 0;
    Timerwin *timer = nullptr;
    if (!chooseAction(backdrop, chooser, action, timer))
        return 0;
    if (action != TimerAction) {
        delete backdrop; // uncovers the screens before the command runs
        runCommand(commands.command[commandFor(action)]);
    }

    const int hours = timer->getHours();
    const int minutes = timer->getMinutes();
    delete backdrop;
    Countdown *countdown = new Countdown(hours, minutes, nullptr);
    QApplication::exec();
    if (countdown->isShutdownDue())
        runCommand(commands.command[Shutdown]);
    return 0;
}
