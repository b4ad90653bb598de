#pragma once

#include <QString>
#include <QStringList>

// Page texts for the extraction benchmark.

struct BenchPage
{
    QString html;
    QStringList expectedDescPics; // what DescPicsFromHtml must find
};

// A product description as the marketplace serves it: styled paragraphs of
// Chinese text, tables, links to other offers and one picture after every
// few blocks, all on one line (as the page's script inserts it). Grows to at
// least `utf8Bytes`, with `pictures` pictures spread evenly.
BenchPage RealisticDescription(qsizetype utf8Bytes, int pictures);

// One line of `links` links to pages, no picture anywhere.
QString LinksWithoutPictures(int links);
