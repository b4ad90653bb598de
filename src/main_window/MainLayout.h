#pragma once

#include <QRect>

// Where the window's pieces go for a client area of a given size. The window
// was designed in twips (15 to a pixel at 96 dpi); the rule keeps those
// offsets: a 3710-twip column at the left for the tabs, the pages below 960.
struct MainLayout
{
    bool browsersMoved = false;  // false: the area is too small, nothing but the toolbar moves
    QRect browser;
    QRect mesg;                  // height 16: one line over the top of the page
    QRect tabStrip;
    QRect closeButton;
    QRect urladress;
    QRect pickButton;
    QRect downloadButton;
    QRect addressStrip;
    QRect toolbar;

    static MainLayout compute(int width, int height);
    static int px(int twips) { return (twips * 2 + 15) / 30; }
};
