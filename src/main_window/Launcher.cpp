#include "main_window/Launcher.h"

#include "main_window/HeadlessPick.h"
#include "main_window/MainForm.h"
#include "platform/BrowserProfile.h"
#include "platform/HeadlessDialogs.h"
#include "platform/ProgramFolder.h"
#include "platform/QtDialogs.h"
#include "platform/WebEngineBrowser.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>
#include <memory>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace Launcher {

namespace {

const char usage[] = "usage: pictorra [--pick URL [URL ...]]\n";

struct Options
{
    bool valid = true;
    bool pick = false;
    QStringList addresses;
};

Options parse(const QStringList &arguments)
{
    Options options;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == QLatin1String("--pick"))
            options.pick = true;
        else if (options.pick && !argument.startsWith(QLatin1String("--")))
            options.addresses.append(argument);
        else
            options.valid = false;
    }
    if (options.pick && options.addresses.isEmpty())
        options.valid = false;
    return options;
}

bool headless(const Options &options)
{
    return options.pick;
}

void prepareEnvironment(bool withoutScreen)
{
#ifdef Q_OS_UNIX
    // The engine's sandbox refuses to run as root.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    if (withoutScreen && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#else
    Q_UNUSED(withoutScreen);
#endif
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

Intervals intervalsFromEnvironment()
{
    // Lets tests run the same timing in less wall time.
    bool ok = false;
    const double scale = qEnvironmentVariable("PICTORRA_TIME_SCALE").toDouble(&ok);
    return ok && scale > 0 ? Intervals::scaled(scale) : Intervals();
}

int runHeadless(MainForm &window, const Options &options)
{
    HeadlessPick run(window, options.addresses);
    int exitCode = 1;
    QObject::connect(&run, &HeadlessPick::finished, &window, [&] {
        for (const HeadlessPick::Result &result : run.results())
            std::printf("%s\n", HeadlessPick::jsonLine(result).constData());
        std::fflush(stdout);
        exitCode = run.allCompleted() ? 0 : 1;
        QCoreApplication::exit(exitCode);
    });
    run.start();
    QCoreApplication::exec();
    return exitCode;
}

} // namespace

int run(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const Options options = parse(arguments);
    if (!options.valid) {
        std::fputs(usage, stderr);
        return 2;
    }
    prepareEnvironment(headless(options));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pictorra"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pictorra"));
    QApplication::setApplicationVersion(QStringLiteral("3.2"));

    const QString folder = ProgramFolder::resolve();
    QWebEngineProfile *profile = BrowserProfile::persistent(folder, &app);
    std::unique_ptr<Dialogs> dialogs;
    if (headless(options))
        dialogs = std::make_unique<HeadlessDialogs>();
    else
        dialogs = std::make_unique<QtDialogs>();
    MainForm::Services services;
    services.programFolder = folder;
    services.dialogs = dialogs.get();
    services.intervals = intervalsFromEnvironment();
    services.browserFactory = [profile](QWidget *parent) { return new WebEngineBrowser(profile, parent); };
    if (headless(options))
        services.homeAddress = QStringLiteral("about:blank");

    MainForm window(services);
    // Shown even without a screen: a hidden page has no viewport to scroll.
    if (headless(options)) {
        window.show();
        return runHeadless(window, options);
    }
    if (auto *qtDialogs = dynamic_cast<QtDialogs *>(dialogs.get()))
        qtDialogs->setParent(&window);
    window.show();
    return app.exec();
}

} // namespace Launcher
