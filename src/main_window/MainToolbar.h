#pragma once

#include "appearance/ToolbarCommands.h"

class MainForm;
class BrowserPage;
class Toolbar1;

// Binds the eight toolbar buttons to what they do in the main window.
class MainToolbar
{
public:
    static Toolbar1 *create(MainForm &window);
    static ToolbarCommands::Hooks hooks(MainForm &window);

private:
    // The page of the selected tab, as the strip shows it.
    static BrowserPage *selectedPage(MainForm &window);
};
