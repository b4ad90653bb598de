#include "picking/CleanName.h"

#include <array>

QString CleanName(const QString &text)
{
    // The order matters: "P-ick" only becomes "Pick" once "-" is gone, and a
    // "Pick" that forms when the quote goes last must stay.
    static const std::array<QString, 14> removed = {
        QStringLiteral("/"), QStringLiteral("\\"), QStringLiteral(":"), QStringLiteral("|"),
        QStringLiteral("*"), QStringLiteral("?"),  QStringLiteral("<"), QStringLiteral(">"),
        QStringLiteral("-"), QStringLiteral(" "),  QStringLiteral(":"), QStringLiteral("..."),
        QStringLiteral("Pick"), QStringLiteral("\""),
    };
    QString result = text;
    for (const QString &piece : removed)
        result.remove(piece, Qt::CaseSensitive);
    // Last, so that titles without such characters clean exactly as they always did.
    return WithoutUnsafeCharacters(result);
}
