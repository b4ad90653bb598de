#pragma once

#include <QByteArray>
#include <QJsonValue>

// JSON meant for a terminal or a script reading our standard output. Qt
// escapes only the C0 controls; DEL, C1 controls and bidi overrides taken
// from a web page would reach the terminal as they are and could reorder or
// hide what is shown. Escaped as \uXXXX they stay data.
namespace TerminalJson {

// `json` is JSON text as QJsonDocument writes it; the same text with every
// character unsafe for display escaped. Outside strings JSON is plain ASCII,
// so the result stays valid JSON that reads back to the same values.
QByteArray escaped(const QByteArray &json);

// One value (string, number, array, object), written compactly and escaped.
QByteArray value(const QJsonValue &value);

} // namespace TerminalJson
