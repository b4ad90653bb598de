// Extraction figures: throughput on a realistic description, and the time of
// a pathological line (many links, no picture) against a realistic input of
// the same size. Prints one line per figure.

#include "BenchPages.h"

#include "picking/PageExtractor.h"
#include "picking/PicPattern.h"
#include "picking/PicPatterns.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Best of `runs` wall-clock times in seconds: the figure least disturbed by
// whatever else the machine does.
double bestSeconds(const std::function<void()> &work, int runs = 15)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return *std::min_element(times.begin(), times.end());
}

double megabytes(const QString &text)
{
    return double(text.toUtf8().size()) / (1024.0 * 1024.0);
}

bool report(const char *label, const QString &html, double seconds, bool correct)
{
    std::printf("%-46s %6.2f MiB  %8.2f ms  %8.1f MiB/s  results %s\n", label, megabytes(html),
                seconds * 1000.0, megabytes(html) / seconds, correct ? "as expected" : "WRONG");
    return correct;
}

double timeDescription(const QString &html, QStringList *found)
{
    return bestSeconds([&] {
        PicLists lists;
        PageExtractor::DescPicsFromHtml(html, 0, lists);
        *found = lists.DescPics(0);
    });
}

double timeMain(const QString &html, int patternMode, QStringList *found)
{
    return bestSeconds([&] {
        PicLists lists;
        PageExtractor::MainPicsFromHtml(html, patternMode, 0, lists);
        *found = lists.MainPics(0);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    bool allCorrect = true;
    QStringList found;

    std::printf("(a) realistic description, 300 pictures (goal: at least 100 MiB/s)\n");
    const BenchPage realistic = RealisticDescription(2 * 1024 * 1024, 300);
    double seconds = timeDescription(realistic.html, &found);
    allCorrect &= report("DescPicsFromHtml", realistic.html, seconds, found == realistic.expectedDescPics);
    seconds = timeMain(realistic.html, 1, &found);
    allCorrect &= report("MainPicsFromHtml, mode 1 (no gallery keys)", realistic.html, seconds, found.isEmpty());
    seconds = timeMain(realistic.html, 0, &found);
    allCorrect &= report("MainPicsFromHtml, mode 0", realistic.html, seconds,
                         found.size() == realistic.expectedDescPics.size());

    std::printf("\n(b) one line of 100 000 links to pages, no picture (goal: at most 3x realistic)\n");
    const QString links = LinksWithoutPictures(100000);
    const BenchPage sameSize = RealisticDescription(links.toUtf8().size(), 600);
    const double realisticSeconds = timeDescription(sameSize.html, &found);
    allCorrect &= report("realistic, same size: DescPicsFromHtml", sameSize.html, realisticSeconds,
                         found == sameSize.expectedDescPics);
    const double linkSeconds = timeDescription(links, &found);
    allCorrect &= report("links only: DescPicsFromHtml", links, linkSeconds, found.isEmpty());
    seconds = timeMain(links, 1, &found);
    allCorrect &= report("links only: MainPicsFromHtml, mode 1", links, seconds, found.isEmpty());

    // One picture at the very end: the single first-pass match is the whole
    // line, and the second pass runs over all of it.
    const QString tail = u"<img src=\"http://h/last.jpg\">"_s;
    const double endSeconds = timeDescription(links + tail, &found);
    allCorrect &= report("links + one picture at the end: DescPics", links + tail, endSeconds,
                         found == QStringList{u"http://h/last.jpg"_s});
    std::printf("ratio links only / realistic: %.2f; with the picture at the end: %.2f\n",
                linkSeconds / realisticSeconds, endSeconds / realisticSeconds);

    std::printf("\nengine: %s\n", PicPattern(PlainPattern).runsOnRe2() ? "RE2" : "direct scanner");
    return allCorrect ? 0 : 1;
}
