#pragma once

#include <QString>

#include <optional>

// The skin choice in config.ini (section "config"): "skin" is the file name
// that start-up applies, "skinid" the list position the skin window selects.
// Reading never fails: a missing, damaged or oversized (over 1 MiB) file reads
// as "nothing stored".
class SkinSettings
{
public:
    struct WriteResult
    {
        bool ok = true;
        QString message;  // for the user when !ok
        explicit operator bool() const { return ok; }
    };

    explicit SkinSettings(const QString &programFolder);

    QString fileName() const { return m_file; }
    // The stored skin file name without surrounding spaces; "" when none or
    // when it is not a bare file name.
    QString skin() const;
    // The stored position; nullopt when missing or not a decimal number.
    std::optional<int> skinId() const;
    WriteResult store(const QString &skinFile, int skinId) const;

    static QString storeFailedMessage();

private:
    QString readValue(const QString &key) const;

    QString m_file;
};
