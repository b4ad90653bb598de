#include "download/FolderNaming.h"

#include "picking/CleanName.h"
#include "picking/PickResult.h"
#include "platform/PlainFile.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>

using namespace Qt::StringLiterals;

namespace {
const QString WholeTitleKey = u"config/FolderByDocumentTitle"_s;
// Far above any real config.ini; a larger one is not ours and is not parsed.
constexpr qint64 MaxConfigBytes = 1024 * 1024;

FolderNaming::Rule &current()
{
    static FolderNaming::Rule rule = FolderNaming::Rule::ProductTitle;
    return rule;
}
}

QString FolderNaming::itemTitle(const PickResult &result)
{
    return itemTitle(result, rule());
}

QString FolderNaming::itemTitle(const PickResult &result, Rule rule)
{
    if (rule == Rule::DocumentTitle)
        return CleanName(result.title);
    const QString product = productTitle(result);
    return product.isEmpty() ? CleanName(result.title) : product;
}

QString FolderNaming::productTitle(const PickResult &result)
{
    const QString own = CleanName(result.product.title).trimmed();
    return own.isEmpty() ? CleanName(withoutSiteName(result.title)).trimmed() : own;
}

QString FolderNaming::withoutSiteName(const QString &title)
{
    // "… - 阿里巴巴", "…_阿里巴巴", "…|阿里巴巴 1688.com": the site's signature, not the
    // product's. A pick's title was cleaned already: its separators are gone.
    static const QRegularExpression site(uR"(\s*[-_|—–·:：]*\s*阿里巴巴(?:\s*[-_|]?\s*1688\.com)?\s*$)"_s);
    QString cut = title;
    cut.remove(site);
    return cut.trimmed().isEmpty() ? title : cut.trimmed();
}

FolderNaming::Rule FolderNaming::rule()
{
    return current();
}

void FolderNaming::setRule(Rule rule)
{
    current() = rule;
}

bool FolderNaming::wholeTitleStored(const QString &configFile)
{
    if (!QFileInfo(configFile).isFile() || QFileInfo(configFile).size() > MaxConfigBytes)
        return false;
    return QSettings(configFile, QSettings::IniFormat).value(WholeTitleKey).toString().trimmed() == u"1"_s;
}

bool FolderNaming::storeWholeTitle(const QString &configFile, bool whole)
{
    setRule(whole ? Rule::DocumentTitle : Rule::ProductTitle);
    if (QFileInfo(configFile).size() > MaxConfigBytes || !PlainFile::readable(configFile))
        return false;
    QSettings ini(configFile, QSettings::IniFormat);
    ini.setValue(WholeTitleKey, whole ? u"1"_s : u"0"_s);
    ini.sync();
    return ini.status() == QSettings::NoError;
}

void FolderNaming::applyStored(const QString &configFile)
{
    setRule(wholeTitleStored(configFile) ? Rule::DocumentTitle : Rule::ProductTitle);
}
