#include "main_window/Launcher.h"

#include "main_window/MainForm.h"
#include "platform/BrowserProfile.h"
#include "platform/ProgramFolder.h"
#include "platform/QtDialogs.h"
#include "platform/WebEngineBrowser.h"

#include <QApplication>
#include <QIcon>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace Launcher {

namespace {
void prepareEngineEnvironment()
{
#ifdef Q_OS_UNIX
    // The engine's sandbox refuses to run as root; so does nothing else here.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
#endif
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}
}

int run(int argc, char *argv[])
{
    prepareEngineEnvironment();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pictorra"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pictorra"));
    QApplication::setApplicationVersion(QStringLiteral("3.2"));

    const QString folder = ProgramFolder::resolve();
    QWebEngineProfile *profile = BrowserProfile::persistent(folder, &app);
    QtDialogs dialogs;
    MainForm::Services services;
    services.programFolder = folder;
    services.dialogs = &dialogs;
    services.browserFactory = [profile](QWidget *parent) { return new WebEngineBrowser(profile, parent); };

    auto *window = new MainForm(services);
    window->setAttribute(Qt::WA_DeleteOnClose);
    dialogs.setParent(window);
    window->show();
    return app.exec();
}

} // namespace Launcher
