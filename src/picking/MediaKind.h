#pragma once

#include <QString>
#include <QtGlobal>

// The default least width of description pictures (see SaveChoice): narrower
// ones are dropped; exactly this wide stays.
inline constexpr int MinDescWidth = 450;

// What the program knows of one kind of media a product page carries: where
// its files go, how the result page shows it, what a fetch of it accepts and
// how it is counted. Every kind is one row of MediaKinds; the download, the
// result page, the message rows, the JSON lines, the batch table and its
// journal loop over the rows and name no kind themselves.
struct MediaKind
{
    // In the order the kinds are shown, saved and printed.
    enum Id { Main, Sku, Description, Video, Count };

    // When the item folder gets the kind's folder.
    enum class Folder {
        Always,      // even with nothing in it: the two-folder tree of old results
        WhenListed,  // when the pick found any
        WhenSaved,   // when any was saved (an empty one is removed again)
    };
    // What a fetched body must start like to be kept.
    enum class Body { Picture, Video };

    Id id;
    QString folder;      // the folder in the item folder, also the stem of each file name
    QString key;         // its list in a `--pick` line, its count in the journal and `--batch` lines
    QString heading;     // its section's heading on the result page; empty: no section
    QString container;   // the id of that section's <div>
    QString pictureTag;  // how each of its pictures starts there
    bool named;          // each entry has a name (shown under it, printed as key + "Names")
    Folder folderRule;
    // The default least width of its pictures (SaveChoice's rule): narrower
    // ones are dropped and the kept ones numbered over themselves in list
    // order (see DescriptionOrder); 0: no rule by default.
    int minWidth;
    Body body;
    qint64 maxBytes;     // a larger body is no file of this kind
    int totalMs;         // one file, every try and pause included
    QString extension;   // every file's ending; empty: the address's last 4 characters
    // Counted apart from the pictures, e.g. "视频%1个"; empty: counted among them (张).
    QString apartCount;
};
