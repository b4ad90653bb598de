#include "ManySkuPage.h"

using namespace Qt::StringLiterals;

QString ManySkuScript(int skus)
{
    QString values;
    QString map;
    for (int i = 0; i < skus; ++i) {
        const QString name = u"颜色%1"_s.arg(i);
        values += u"%1{\"imageUrl\":\"https://h/sku/%2.jpg_b.jpg\",\"name\":\"%3\"}"_s.arg(i ? u","_s : QString()).arg(i).arg(name);
        map += u"%1\"%2&gt;L\":{\"specAttrs\":\"%2&gt;L\",\"price\":\"9.50\",\"canBookCount\":%3}"_s
                   .arg(i ? u","_s : QString(), name).arg(i);
    }
    return u"window.context=(function(b,d){return d})(window.contextPath,{\"result\":{\"data\":{"
           "\"gallery\":{\"fields\":{\"mainImage\":[\"https://h/m1.jpg\"]}},"
           "\"Root\":{\"fields\":{\"dataJson\":{\"skuModel\":{\"skuInfoMap\":{"_s
        + map + u"}}}}}},\"global\":{\"globalData\":{\"model\":{\"offerDetail\":{\"skuProps\":[{\"prop\":\"颜色\",\"value\":["_s
        + values + u"]}]}}}}}});"_s;
}
