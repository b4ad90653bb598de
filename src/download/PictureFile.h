#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// A picture that appears under its name whole or not at all: the bytes go to
// a hidden sibling that commit() renames over the target, replacing an older
// file whole. Unlike QSaveFile it does not force each file to the disk: a
// picture can be fetched again, and a sync per picture made a download of
// many small pictures several times slower. A killed program leaves at most a
// hidden ".part" file beside the pictures, never half a picture under a name.
class PictureFile
{
public:
    explicit PictureFile(const QString &fileName);
    ~PictureFile();
    PictureFile(const PictureFile &) = delete;
    PictureFile &operator=(const PictureFile &) = delete;

    // Creates the hidden sibling; the target is not touched yet.
    bool open();
    // True only when every byte was taken.
    bool write(const QByteArray &data);
    // Hands what was written so far to the system, so that the hidden
    // sibling (partName) can be read back before commit.
    bool flush();
    QString partName() const { return m_part.fileName(); }
    // Flushes, closes and moves the bytes under the target's name.
    bool commit();
    // Drops what was written; the target stays as it was.
    void cancel();

    QString fileName() const { return m_fileName; }

    // Removes the hidden ".part" files in `folder` (not below) that were last
    // written more than `maxAgeSeconds` ago: leftovers of a killed run. Younger
    // ones may belong to a run still going. With 0, every one goes: for a
    // caller that knows nothing writes there any more.
    static int removeStaleParts(const QString &folder, int maxAgeSeconds = 3600);
    QString errorString() const { return m_error; }

private:
    bool fail(const QString &error);

    QString m_fileName;
    QFile m_part;
    QString m_error;
};
