#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

// What a pick needs to know of a page besides its picture containers: where
// it is, whether it has finished loading, the signs of an interstitial, and
// the inline scripts that carry a design's data.
struct PageFacts
{
    bool hasDocument = false;
    QString readyState;   // document.readyState: "loading", "interactive", "complete"
    QString url;
    QString title;
    QString bodyClass;
    QString text;         // the start of the body's visible text
    QStringList formActions;
    bool hasSlider = false;
    QStringList scripts;  // inline script texts with one of the asked markers

    bool loaded() const { return readyState == QLatin1String("complete"); }

    // Anything malformed reads as "no document".
    static PageFacts fromScriptResult(const QVariant &value);
};
