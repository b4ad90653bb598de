// Page-data read time: a today's page whose data carries 12,500 and then
// 100,000 SKU entries, each with a picture of its own. Linear reading keeps
// the second figure near eight times the first.

#include "picking/designs/PageDesigns.h"
#include "support/ManySkuPage.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

// Best of `runs`: the figure least disturbed by whatever else the machine does.
double bestSeconds(const PageFacts &facts, int expectedSkus, int runs)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const std::optional<DesignReading> reading = PageDesigns().read(facts, {});
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        if (!reading || reading->media.addresses(MediaKind::Sku).size() != expectedSkus || reading->product.skus.size() != expectedSkus)
            return -1;
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    double previous = 0;
    for (const int skus : {12500, 100000}) {
        PageFacts facts;
        facts.scripts << ManySkuScript(skus);
        const double seconds = bestSeconds(facts, skus, 3);
        if (seconds < 0) {
            std::printf("%6d SKU entries: WRONG result\n", skus);
            return 1;
        }
        std::printf("%6d SKU entries, %5.1f MiB of data: %8.1f ms", skus, facts.scripts.first().toUtf8().size() / 1048576.0,
                    seconds * 1000.0);
        if (previous > 0)
            std::printf("  (%.1fx the time of 12,500 for 8x the entries)", seconds / previous);
        std::printf("\n");
        previous = seconds;
    }
    return 0;
}
