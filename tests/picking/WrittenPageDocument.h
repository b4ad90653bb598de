#pragma once

#include "platform/DocumentSnapshot.h"

#include <QStringList>

// What the browser would hand back as the document snapshot after the given
// pieces were written into a blank page: the <title> text and each div's
// inner HTML as a browser serialises it (attributes in double quotes, <p>
// closed before the next one, </img> dropped). Attribute values appear with
// their entities decoded, as the snapshot shows them. Enough of a browser for
// the result page, not for HTML at large.
DocumentSnapshot WrittenPageDocument(const QStringList &pieces);
