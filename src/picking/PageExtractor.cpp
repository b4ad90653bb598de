#include "picking/PageExtractor.h"

#include "picking/PicPattern.h"
#include "picking/PicPatterns.h"

namespace {

const QString MainContainerId = QStringLiteral("mod-detail");
const QString DescContainerId = QStringLiteral("desc-lazyload-container");

// The patterns never change; compiling each once keeps extraction cheap.
// Matching on a const PicPattern is safe from any thread.
const PicPattern &mainPattern()
{
    static const PicPattern pattern(MainPattern);
    return pattern;
}

const PicPattern &plainPattern()
{
    static const PicPattern pattern(PlainPattern);
    return pattern;
}

const PicPattern &srcPattern()
{
    static const PicPattern pattern(SrcPattern);
    return pattern;
}

// Addresses escaped inside script text carry a backslash after them.
QString beforeBackslash(const QString &value)
{
    const qsizetype cut = value.indexOf(QLatin1Char('\\'));
    return cut < 0 ? value : value.left(cut);
}

} // namespace

namespace PageExtractor {

QString GetPageTitle(const DocumentSnapshot &document)
{
    return document.hasDocument ? document.title : QString();
}

bool ExtractPics(const DocumentSnapshot &document, int patternMode, int browserIndex,
                 bool checkOnly, PicLists &lists)
{
    if (!document.hasDocument)
        return !checkOnly;
    bool mainFound = false;
    bool descFound = false;
    for (const DivElement &div : document.divs) {
        if (div.id == MainContainerId) {
            mainFound = true;
            if (!checkOnly)
                MainPicsFromHtml(div.html, patternMode, browserIndex, lists);
        } else if (div.id == DescContainerId) {
            descFound = true;
            if (!checkOnly)
                DescPicsFromHtml(div.html, browserIndex, lists);
        }
    }
    return checkOnly ? mainFound && descFound : true;
}

void MainPicsFromHtml(const QString &html, int patternMode, int browserIndex, PicLists &lists)
{
    // Mode 1 matches start with the 12-character key "original":" .
    const qsizetype keyLength = patternMode == 1 ? 12 : 0;
    const PicPattern &pattern = patternMode == 1 ? mainPattern() : plainPattern();
    QStringList &target = lists.MainPics(browserIndex);
    for (const QString &match : pattern.matches(html))
        target.append(beforeBackslash(match).mid(keyLength));
}

void DescPicsFromHtml(const QString &html, int browserIndex, PicLists &lists)
{
    // The shortest run can start at a link and run over into the next
    // picture's src="...; the second pass keeps just that picture, dropping
    // the 5 characters of src=" .
    QStringList &target = lists.DescPics(browserIndex);
    for (const QString &match : plainPattern().matches(html)) {
        const QString part = beforeBackslash(match);
        const std::optional<QString> src = srcPattern().firstMatch(part);
        target.append(src ? src->mid(5) : part);
    }
}

QStringList ContainerIds()
{
    return {MainContainerId, DescContainerId};
}

} // namespace PageExtractor
