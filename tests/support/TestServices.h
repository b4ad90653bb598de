#pragma once

#include "main_window/MainForm.h"
#include "support/FakeBrowserPage.h"

// What a window built by a test runs on: its own program folder, answers for
// the user, no tray icon, and an application that goes on when it closes.
inline MainForm::Services testServices(Dialogs &dialogs, const QString &programFolder,
                                       TabSet::BrowserFactory browsers,
                                       const QString &homeAddress = QStringLiteral("about:blank"))
{
    MainForm::Services services;
    services.dialogs = &dialogs;
    services.programFolder = programFolder;
    services.browserFactory = std::move(browsers);
    services.homeAddress = homeAddress;
    services.quitOnClose = false;
    services.trayIcon = false;
    return services;
}

inline TabSet::BrowserFactory fakeBrowsers()
{
    return [](QWidget *parent) { return new FakeBrowserPage(parent); };
}
