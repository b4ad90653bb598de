#include "picking/PicPattern.h"

#include "picking/Re2Syntax.h"

#include <QDebug>

#include <re2/re2.h>

namespace {

// Turns UTF-8 byte offsets back into UTF-16 offsets; offsets must grow.
class Utf16Offsets
{
public:
    explicit Utf16Offsets(const QByteArray &utf8) : m_data(utf8.constData()) {}

    qsizetype at(qsizetype byteOffset)
    {
        qsizetype unit = m_unit;
        for (qsizetype i = m_byte; i < byteOffset; ++i) {
            const auto c = static_cast<unsigned char>(m_data[i]);
            // A lead byte starts one UTF-16 unit, a four-byte lead two.
            unit += ((c & 0xC0) != 0x80) + (c >= 0xF0);
        }
        m_byte = byteOffset;
        m_unit = unit;
        return unit;
    }

private:
    const char *m_data;
    qsizetype m_byte = 0;
    qsizetype m_unit = 0;
};

char16_t asciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c | 0x20) : c;
}

// The longest text all heads begin with, lower-cased.
QString commonLead(const QStringList &heads)
{
    QString lead = heads.value(0).toLower();
    for (const QString &head : heads) {
        qsizetype same = 0;
        while (same < lead.size() && same < head.size()
               && asciiLower(head.at(same).unicode()) == lead.at(same).unicode())
            ++same;
        lead.truncate(same);
    }
    return lead;
}

} // namespace

PicPattern::PicPattern(QLatin1String pattern, qint64 maxMem)
    : m_scanner(pattern), m_lead(commonLead(m_scanner.heads()))
{
    const std::optional<std::string> translated = Re2FromEcmaScript(pattern);
    if (!translated)
        return;
    RE2::Options options;
    options.set_encoding(RE2::Options::EncodingUTF8);
    options.set_case_sensitive(true); // the cases are spelt out by the translation
    options.set_max_mem(maxMem);
    options.set_log_errors(false);
    auto compiled = std::make_unique<RE2>(*translated, options);
    if (compiled->ok())
        m_re2 = std::move(compiled);
    else if (m_scanner.isValid())
        qWarning() << "PicPattern: RE2 refused" << pattern << "-" << compiled->error().c_str()
                   << "- using the direct scanner";
}

PicPattern::~PicPattern() = default;

bool PicPattern::isValid() const
{
    return m_re2 != nullptr || m_scanner.isValid();
}

QStringList PicPattern::matches(const QString &text) const
{
    return run(text, -1);
}

std::optional<QString> PicPattern::firstMatch(const QString &text) const
{
    const QStringList found = run(text, 1);
    if (found.isEmpty())
        return std::nullopt;
    return found.first();
}

qsizetype PicPattern::firstLead(QStringView text) const
{
    if (m_lead.isEmpty())
        return 0;
    const char16_t first = m_lead.at(0).unicode();
    const qsizetype last = text.size() - m_lead.size();
    for (qsizetype i = 0; i <= last; ++i) {
        if (asciiLower(text[i].unicode()) != first)
            continue;
        qsizetype k = 1;
        while (k < m_lead.size() && asciiLower(text[i + k].unicode()) == m_lead.at(k).unicode())
            ++k;
        if (k == m_lead.size())
            return i;
    }
    return -1;
}

QStringList PicPattern::run(const QString &text, qsizetype limit) const
{
    // No match can begin before the first place where all heads could; most
    // texts are passed over here without being converted at all.
    const qsizetype lead = firstLead(text);
    if (lead < 0)
        return {};
    const QStringView rest = QStringView(text).sliced(lead);
    if (m_re2)
        return runRe2(rest, limit);
    if (!m_scanner.isValid())
        qWarning() << "PicPattern: no engine can run this pattern";
    return m_scanner.matches(rest, limit);
}

QStringList PicPattern::runRe2(QStringView text, qsizetype limit) const
{
    QStringList found;
    const QByteArray utf8 = text.toUtf8();
    const bool ascii = utf8.size() == text.size();
    Utf16Offsets offsets(utf8);
    const re2::StringPiece input(utf8.constData(), size_t(utf8.size()));
    re2::StringPiece match;
    size_t position = 0;
    while (position < input.size() && (limit <= 0 || found.size() < limit)
           && m_re2->Match(input, position, input.size(), RE2::UNANCHORED, &match, 1)) {
        const auto begin = qsizetype(match.data() - input.data());
        const auto end = begin + qsizetype(match.size());
        const qsizetype from = ascii ? begin : offsets.at(begin);
        const qsizetype to = ascii ? end : offsets.at(end);
        found.append(text.sliced(from, to - from).toString());
        position = size_t(end);
        // An empty match (none of the address patterns has one) moves on by
        // one character, as a global search in a page script does.
        if (match.empty()) {
            ++position;
            while (position < input.size() && (utf8[qsizetype(position)] & 0xC0) == 0x80)
                ++position;
        }
    }
    return found;
}
