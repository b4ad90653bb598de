#pragma once

#include <QString>

// The inline data script of a today's product page with `skus` SKU entries,
// each with a picture of its own and a row in the SKU map: the data a
// seller's big catalogue page carries, for the page-data reader's cost.
QString ManySkuScript(int skus);
