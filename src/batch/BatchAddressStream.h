#pragma once

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <QStringList>

// A batch list that is still being written: standard input ("-") or a named
// pipe. Its addresses are handed on line by line as they arrive (through the
// event loop, never waiting for the writer), so that the first item starts
// long before the writer closes its end.
class BatchAddressStream : public QObject
{
    Q_OBJECT
public:
    explicit BatchAddressStream(QObject *parent = nullptr);
    ~BatchAddressStream() override;

    // "-", or anything that exists and is neither a regular file nor a folder.
    static bool isStream(const QString &list);

    bool open(const QString &list, QString *error = nullptr);
    bool atEnd() const { return m_ended; }

Q_SIGNALS:
    void arrived(const QStringList &addresses);
    void ended();

private:
    void readSome();
    void hand(const QByteArray &lines);
    void end();

    int m_fd = -1;
    bool m_ownFd = false;
    bool m_ended = false;
    QPointer<QSocketNotifier> m_notifier;
    QByteArray m_pending; // the start of a line still on its way
};
