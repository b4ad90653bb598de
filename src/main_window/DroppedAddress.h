#pragma once

#include <QString>

class QMimeData;

// The address a drag carries: its first link, else its text when that is
// one line that reads as a web address; "" when it carries none.
QString DroppedAddress(const QMimeData *data);
