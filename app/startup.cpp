#include "startup.h"

#include "accessibility.h"
#include "bgwin.h"
#include "buildconfig.h"
#include "commands.h"
#include "conf.h"
#include "countdown.h"
#include "deliberatekeys.h"
#include "englishplurals.h"
#include "icons.h"
#include "keyboardgrab.h"
#include "mainwin.h"
#include "msgbox.h"
#include "rootcapture.h"
#include "timerwin.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <future>
#include <memory>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

const char programName[] = "farewelldesk";

// Qt's xcb GL integration costs tens of milliseconds and megabytes at start-up,
// and this program draws nothing with OpenGL. Qt reads the variable when it
// creates the first window and keeps its choice.
const char glIntegrationVariable[] = "QT_XCB_GL_INTEGRATION";

// The backdrop is a screenshot that only X11 gives: in a Wayland session,
// where Qt would pick its Wayland platform when that plugin is installed, the
// program runs on the session's X server. Qt reads the variable as the
// application is created.
const char platformVariable[] = "QT_QPA_PLATFORM";

// Sets a variable that Qt reads, unless the user's own choice stands. Returns
// whether it was set; resetForCommands() then removes it again once Qt has
// read it, so the commands never see it.
bool setForQt(const char *variable, const char *value)
{
    if (!qEnvironmentVariableIsEmpty(variable))
        return false;
    qputenv(variable, value);
    return true;
}

void resetForCommands(const char *variable, bool set)
{
    if (set)
        qunsetenv(variable);
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
// Returns the connection, which the backdrop and the keyboard grab go on
// using, and the number of the display's screen; null on platforms other than
// X11.
xcb_connection_t *requireDisplay(int argc, char **argv, int *screenNumber)
{
    if (!usesX11(argc, argv))
        return nullptr;
    const char *display = qtOption(argc, argv, "display");
    if (!display)
        display = getenv("DISPLAY");
    xcb_connection_t *connection = xcb_connect(display, screenNumber);
    if (!xcb_connection_has_error(connection))
        return connection;
    xcb_disconnect(connection);
    if (display && *display)
        fprintf(stderr, "%s: cannot open display '%s'\n", programName, display);
    else
        fprintf(stderr, "%s: cannot open display: DISPLAY is not set\n", programName);
    exit(1);
}

// Qt's own catalogue translates the texts Qt draws itself, such as the OK
// button of the error boxes. The program's catalogue is installed last so that
// it is asked first; English's plural forms lie beneath everything, for the
// counted texts that no catalogue of the user's language answers.
void installTranslations(QApplication &app, QTranslator &english, QTranslator &qtTranslator,
                         QTranslator &translator)
{
    installEnglishPlurals(english);
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const QString qtCatalogues = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    const QString qtCatalogues = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
    if (qtTranslator.load(QLocale(), "qtbase", "_", qtCatalogues))
        app.installTranslator(&qtTranslator);
    if (translator.load(QLocale(), programName, "_", FAREWELLDESK_FULL_DATADIR))
        app.installTranslator(&translator);
}

// One string variable for each command of the table, in its order.
const ConfVar *commandTemplate()
{
    static ConfVar variables[commandCount];
    for (int index = 0; index < commandCount; ++index)
        variables[index] = {actionCommands[index].name, CONF_STRING, index,
                            actionCommands[index].defaultCommand};
    return variables;
}

ConfSection *loadConfiguration()
{
    const ConfVar *variables = commandTemplate();
    ConfSection *config = conf_load(programName, "config", variables, commandCount);
    if (!config && errno == ENOENT)
        config = conf_new_section(nullptr, variables, commandCount);
    if (!config)
        errxDialog(nullptr, 1, "%s", conf_error_text());
    return config;
}

// Ends the process silently when another instance of this user holds the lock.
// The descriptor stays open for the life of the process; it is close-on-exec so
// that a command left running in the background does not keep the lock. It is
// opened without waiting and read-only: a FIFO in the file's place would block
// open() for ever, or, opened for writing, fail with a misleading reason; like
// any other file that is not a regular one, it is refused at once.
void takeInstanceLock()
{
    const passwd *pw = getpwuid(getuid());
    if (!pw)
        errDialog(nullptr, 1, "getpwuid()");
    char path[1024];
    const int length = snprintf(path, sizeof path, "%s/%s", pw->pw_dir, ".farewelldesk.lock");
    endpwent();
    const QByteArray shownPath = shortenedForMessage(path);
    if (length < 0 || static_cast<size_t>(length) >= sizeof path) {
        errno = ENAMETOOLONG;
        errDialog(nullptr, 1, "open(%s)", shownPath.constData());
    }
    const int fd = open(path, O_RDONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd == -1)
        errDialog(nullptr, 1, "open(%s)", shownPath.constData());
    struct stat status;
    if (fstat(fd, &status) == -1)
        errDialog(nullptr, 1, "fstat(%s)", shownPath.constData());
    if (!S_ISREG(status.st_mode))
        errxDialog(nullptr, 1, "open(%s): not a regular file", shownPath.constData());
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

// getopt's option string: each command's letter, with an argument.
QByteArray optionString()
{
    // glibc's getopt would look past the first operand; "+" keeps the POSIX
    // rule that BSD's getopt follows: parsing stops there, and the operand
    // makes a usage error.
#ifdef __GLIBC__
    QByteArray options("+");
#else
    QByteArray options;
#endif
    for (const ActionCommand &each : actionCommands)
        options.append(each.option).append(':');
    return options;
}

void applyOptions(int argc, char **argv, CommandSet &commands)
{
    const QByteArray options = optionString();
    int option;
    while ((option = getopt(argc, argv, options.constData())) != -1) {
        const int index = commandIndex(&ActionCommand::option, char(option));
        if (index < 0)
            usage();
        commands.command[index] = optarg;
    }
    // The program takes no operands. One left over, even after "--", is most
    // likely an option's argument gone astray: running the built-in commands
    // in place of the user's would be worse than stopping.
    if (optind < argc)
        usage();
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
    int screenNumber = 0;
    xcb_connection_t *display = requireDisplay(argc, argv, &screenNumber);
    KeyboardGrab::setDisplayConnection(display);
    // The X server copies the screens while Qt loads its plugins. Static: the
    // early exits below, through exit(), wait for its thread rather than end
    // the process under its feet.
    static auto capture = std::make_unique<RootCapture>();
    if (display)
        capture->start(display, screenNumber);
    const bool glDisabled = setForQt(glIntegrationVariable, "none");
    const bool x11Chosen = !qtOption(argc, argv, "platform") && setForQt(platformVariable, "xcb");
    QApplication app(argc, argv);
    resetForCommands(platformVariable, x11Chosen);
    installFallbackIcons();
    QTranslator english;
    QTranslator qtTranslator;
    QTranslator translator;
    installTranslations(app, english, qtTranslator, translator);
    DeliberateKeys deliberateKeys;
    app.installEventFilter(&deliberateKeys);

    // Configuration first, then the lock, then the options: a second instance
    // ends silently even with bad options, but every instance reports a broken
    // configuration file.
    const ConfSection *config = loadConfiguration();
    takeInstanceLock();
    CommandSet commands;
    for (int index = 0; index < commandCount; ++index)
        commands.command[index] = config->vars[index].value.text;
    applyOptions(argc, argv, commands);

    connectAccessibility();
    // Qt loads its image plugins and reads the font configuration as the
    // chooser is built, in this order: done now, in a thread of their own,
    // both overlap the backdrop's making. Qt's locks make the chooser wait
    // for what it needs. Not before the early exits above, which must not end
    // the process under the thread's feet, nor beside the accessibility
    // bridge's start, which it slowed down by more than it saved.
    std::future<void> preloaded = std::async(std::launch::async | std::launch::deferred, [] {
        loadImagePlugins();
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
        QFontDatabase::families();
#else
        QFontDatabase().families();
#endif
    });
    BgWin *backdrop = new BgWin(std::move(capture), nullptr);
    Mainwin *chooser = new Mainwin(backdrop);
    preloaded.wait();
    resetForCommands(glIntegrationVariable, glDisabled);
    int action = 0;
    Timerwin *timer = nullptr;
    if (!chooseAction(backdrop, chooser, action, timer))
        return 0;
    if (action != TimerAction) {
        delete backdrop; // uncovers the screens before the command runs
        runAction(commands, action);
    }

    const int hours = timer->getHours();
    const int minutes = timer->getMinutes();
    delete backdrop;
    Countdown *countdown = new Countdown(hours, minutes, nullptr);
    // Qt 6 counts only a visible window's closing as the last one's: the
    // countdown, finished while it waits in the tray, ends the loop itself.
    QObject::connect(countdown, SIGNAL(finished(int)), &app, SLOT(quit()));
    QApplication::exec();
    if (countdown->isShutdownDue())
        runAction(commands, ShutdownAction);
    return 0;
}
