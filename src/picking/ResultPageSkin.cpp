// The result page in the window's colours: written after the page's own
// rules, these win over them.
#include "picking/ResultPageStyle.h"

using namespace Qt::StringLiterals;

namespace {
struct Skin
{
    QColor background;
    QColor text;
};

Skin &skin()
{
    static Skin current;
    return current;
}

QString mixed(const QColor &a, const QColor &b, int percentOfB)
{
    const auto mix = [percentOfB](int x, int y) { return (x * (100 - percentOfB) + y * percentOfB) / 100; };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue())).name();
}
}

void ResultPageStyle::followSkin(const QColor &background, const QColor &text)
{
    skin() = {background, text};
}

QString ResultPageStyle::piece()
{
    return ownPiece() + skinPiece();
}

QString ResultPageStyle::skinPiece()
{
    const Skin &s = skin();
    if (!s.background.isValid() || !s.text.isValid())
        return {};
    const bool dark = s.background.lightness() < 128;
    const QString line = mixed(s.background, s.text, 25);
    const QString panel = mixed(s.background, s.text, 8);
    return uR"(<style>
body { background: %1; color: %2; }
a { color: %3; }
#mod-detail img, #desc-lazyload-container img, #sku-pics img { border-color: %4; background: %5; }
.product-table th, .product-table td { border-color: %4; }
.product-table th { background: %5; }
.product-more { color: %6; }
#pick-counts { background: %1; color: %2; border-bottom-color: %4; }
.pick-bar, .pick-note { color: %6; }
.pick-tick { color: %3; }
.pick-word { color: %7; }
</style>)"_s.arg(s.background.name(), s.text.name(), dark ? u"#8ab4f8"_s : u"#1a5fb4"_s, line, panel,
                 mixed(s.background, s.text, 70), dark ? u"#ff8a80"_s : u"#b00020"_s);
}
