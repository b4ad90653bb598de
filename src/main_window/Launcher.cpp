#include "main_window/Launcher.h"

#include "batch/HeadlessBatch.h"
#include "download/FolderNaming.h"
#include "engine/Engine.h"
#include "main_window/CommandLine.h"
#include "main_window/MainForm.h"
#include "main_window/SaveSettings.h"
#include "platform/BrowserProfile.h"
#include "platform/DemoShop.h"
#include "platform/EngineQuiet.h"
#include "platform/ProgramFolder.h"
#include "platform/QtDialogs.h"
#include "platform/TerminalProgress.h"
#include "platform/WebEngineBrowser.h"
#include "screenless/HeadlessCollect.h"
#include "screenless/HeadlessRun.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <memory>
#include <optional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace Launcher {

namespace {

void prepareEnvironment(bool withoutScreen, bool verbose)
{
#ifdef Q_OS_UNIX
    // The engine's sandbox refuses to run as root.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
#endif
    // Both read when the engine starts, so they come first.
    if (!verbose) {
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", EngineQuiet::chromiumFlags(qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")));
        EngineQuiet::install();
    }
#ifdef Q_OS_UNIX
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
    if (!ok || scale <= 0)
        return Intervals();
    Intervals intervals = Intervals::scaled(scale);
    // The page wait ends as soon as the page is there; only its cap is in seconds.
    intervals.accessTickMs = Intervals().accessTickMs;
    return intervals;
}

// The roads without a screen build no window: the engine opens bare pages.
int runHeadless(Engine &engine, const CommandLine &options, const SaveChoice &choice)
{
    // Each page is a window of its own: the run ends when its work does, not
    // when a page closes.
    QApplication::setQuitOnLastWindowClosed(false);
    if (options.collect)
        return HeadlessCollect::run(engine, {*options.collect, options.pages, options.delay});
    TerminalProgress progress;
    if (!options.batch) {
        HeadlessRun run(engine, options.addresses, options.save.value_or(QString()), progress, choice);
        return run.exec();
    }
    HeadlessBatch::Options batch;
    batch.list = *options.batch;
    batch.saveFolder = *options.save;
    batch.parallel = options.parallel;
    batch.delaySeconds = options.delay;
    batch.choice = choice;
    return HeadlessBatch::run(engine, batch, progress);
}

} // namespace

QStringList setUpApplication(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("Pictorra"));
    QApplication::setApplicationVersion(QLatin1String(CommandLine::version));
    // The engine takes its language (context menu, error pages) from the
    // default locale when it starts, so this comes before any profile.
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    // Qt's own dialogs (the folder chooser, the boxes' buttons) and the page's
    // context menu speak Chinese like the rest.
    // Qt's own folder first; an installed copy of ours where Qt's lacks them.
    const QStringList folders = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                 ProgramFolder::join(ProgramFolder::installed(), QStringLiteral("translations"))};
    QStringList loaded;
    for (const QString &catalogue : {QStringLiteral("qtbase"), QStringLiteral("qtwebengine")}) {
        for (const QString &folder : folders) {
            auto *translator = new QTranslator(&app);
            if (translator->load(chinese, catalogue, QStringLiteral("_"), folder)) {
                QApplication::installTranslator(translator);
                loaded << catalogue;
                break;
            }
            delete translator;
        }
    }
    auto *own = new QTranslator(&app);
    if (own->load(QStringLiteral(":/i18n/pictorra_zh_CN.qm"))) {
        QApplication::installTranslator(own);
        loaded << QStringLiteral("pictorra");
    } else {
        delete own;
    }
    return loaded;
}

int run(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine options = CommandLine::parse(arguments);
    // Asked for: standard output and success, whatever else the line holds.
    if (options.help) {
        std::fputs(CommandLine::helpText().toUtf8().constData(), stdout);
        return 0;
    }
    if (options.showVersion) {
        std::printf("pictorra %s\n", CommandLine::version);
        return 0;
    }
    if (!options.valid) {
        std::fprintf(stderr, "pictorra: %s\n", options.refusal.toLocal8Bit().constData());
        std::fputs(CommandLine::usage, stderr);
        return 2;
    }
    if (options.save) {
        if (const auto problem = CommandLine::saveFolderProblem(*options.save)) {
            std::fputs(problem->toLocal8Bit().constData(), stderr);
            return 2;
        }
    }
    prepareEnvironment(options.headless(), options.verbose);
    QApplication app(argc, argv);
    setUpApplication(app);

    const QString folder = ProgramFolder::resolve();
    FolderNaming::applyStored(ProgramFolder::join(folder, QStringLiteral("config.ini")));
    QWebEngineProfile *profile = BrowserProfile::persistent(folder, &app);
    // The sample shop, served by ourselves on the loopback interface.
    DemoShop shop(DemoShop::defaultFolder());
    CommandLine run = options;
    if (options.demo) {
        if (!shop.start()) {
            std::fprintf(stderr, "pictorra: 无法启动示例店铺: %s\n", shop.errorString().toLocal8Bit().constData());
            return 1;
        }
        run.addresses = {shop.itemUrl().toString()};
    }

    Engine engine(intervalsFromEnvironment(), profile);
    if (options.headless())
        return runHeadless(engine, run, run.choiceOver(SaveSettings::load(ProgramFolder::join(folder, QStringLiteral("config.ini")))));

    QtDialogs dialogs;
    dialogs.rememberFoldersIn(ProgramFolder::join(folder, QStringLiteral("config.ini")));
    MainForm::Services services;
    services.programFolder = folder;
    services.engine = &engine;
    services.dialogs = &dialogs;
    services.browserFactory = [profile](QWidget *parent) { return new WebEngineBrowser(profile, parent); };
    services.rememberPlace = true;
    if (options.demo)
        services.homeAddress = shop.itemUrl().toString();
    MainForm window(services);
    dialogs.setParent(&window);
    window.show();
    return app.exec();
}

} // namespace Launcher
