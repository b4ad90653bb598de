#pragma once

#include <QJsonValue>
#include <QString>

#include <optional>

// Reads the data a page carries in its inline script as a JavaScript object
// literal. The text is never run: it is turned into JSON (bare keys quoted,
// single-quoted strings, \x and other script-only escapes, undefined, comments
// and trailing commas) and parsed as data.
namespace ObjectLiteral {

// The balanced {...} that starts at the first '{' at or after `from`; empty
// when there is none or it does not close. Comments are skipped.
QStringView extract(QStringView text, qsizetype from);

// The literal as JSON text; nullopt when it cannot be turned into JSON.
std::optional<QByteArray> toJson(QStringView literal);

// The literal as data; nullopt when it is not a well-formed object. The JSON
// text it was read from goes to `jsonText` when given (it keeps the page's
// order of keys, which the data does not).
std::optional<QJsonValue> parse(QStringView literal, QByteArray *jsonText = nullptr);

} // namespace ObjectLiteral
