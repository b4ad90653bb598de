#pragma once

#include <QMargins>
#include <QRect>

// Where the window's pieces go for a client area of a given size. The window
// was designed in twips (15 to a pixel at 96 dpi); the rule keeps those
// offsets: a 3710-twip column at the left for the tabs, the pages below 960.
struct MainLayout
{
    bool browsersMoved = false;  // false: the area is too small, nothing but the toolbar moves
    QRect browser;
    QRect mesg;                  // where the message list starts: below the address strip, one line high;
                                 // the tab set gives it the height of its rows and the page the rest
    QRect tabStrip;
    QRect closeButton;
    QRect urladress;
    QRect pickButton;
    QRect downloadButton;
    QRect addressStrip;
    QRect toolbar;

    static MainLayout compute(int width, int height);
    // The window's start place: `wanted` (client size plus the frame's
    // `margins`) where it is asked for, moved and then shrunk just enough to
    // lie wholly on the screen's `available` area. Returns the client rectangle.
    static QRect startGeometry(const QRect &wanted, const QMargins &margins, const QRect &available);
    static int px(int twips) { return (twips * 2 + 15) / 30; }
};
