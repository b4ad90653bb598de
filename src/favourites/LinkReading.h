#pragma once

#include <QString>

// What a favourite path yields when it is read: nothing to load, a file that
// is not a favourite, or the address to load.
struct LinkReading
{
    enum class Kind { Nothing, FormatError, Address };

    Kind kind = Kind::Nothing;
    QString address; // set for Kind::Address only

    static LinkReading nothing() { return {}; }
    static LinkReading formatError() { return {Kind::FormatError, {}}; }
    static LinkReading of(const QString &address) { return {Kind::Address, address}; }
};
