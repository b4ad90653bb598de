#pragma once

#include "main_window/MainForm.h"
#include "platform/WebEngineBrowser.h"
#include "support/TestServices.h"

#include <memory>

// A shown window whose tabs browse with the real engine on `profile`.
inline std::unique_ptr<MainForm> engineWindow(Dialogs &dialogs, const QString &programFolder,
                                              QWebEngineProfile *profile, const Intervals &intervals)
{
    MainForm::Services services = testServices(
        dialogs, programFolder, [profile](QWidget *parent) { return new WebEngineBrowser(profile, parent); });
    services.intervals = intervals;
    auto window = std::make_unique<MainForm>(services);
    window->show();
    return window;
}
