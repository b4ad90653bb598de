#pragma once

#include <QString>

struct PickResult;

// What an item folder is named after. By default the product's own title
// where the page gives one, else the document title without the site's name
// at its end; the setting 文件夹用完整网页标题 keeps the whole document title,
// as earlier versions named folders. The rule holds for the whole program (the
// 下载 button, --save and the batch alike): it is read from config.ini at
// start and changed by the options dialog.
class FolderNaming
{
public:
    enum class Rule { ProductTitle, DocumentTitle };

    // The name (cleaned, not yet cut to an item name) of `result`'s folder.
    static QString itemTitle(const PickResult &result);
    static QString itemTitle(const PickResult &result, Rule rule);
    // The clean product title the JSON lines give as "productTitle".
    static QString productTitle(const PickResult &result);
    // `title` without a trailing "阿里巴巴" and the separator before it.
    static QString withoutSiteName(const QString &title);

    static Rule rule();
    static void setRule(Rule rule);

    // config.ini's "config/FolderByDocumentTitle": "1" names folders by the whole document title.
    static bool wholeTitleStored(const QString &configFile);
    // Stores the choice and makes it the rule; false when config.ini cannot be written.
    static bool storeWholeTitle(const QString &configFile, bool whole);
    // The rule config.ini asks for.
    static void applyStored(const QString &configFile);
};
