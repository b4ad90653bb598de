#include "download/VideoFormat.h"

#include <QByteArrayView>

bool IsVideoFormat(const QByteArray &head)
{
    return head.size() >= 8 && QByteArrayView(head).sliced(4, 4) == QByteArrayView("ftyp");
}
