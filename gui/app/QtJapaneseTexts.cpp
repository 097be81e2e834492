#include "app/QtJapaneseTexts.h"

#include <string_view>

namespace kestrel {
namespace {

// One text of a Qt dialog: Qt's translation context (the class that asks),
// its English source text and disambiguation, exactly as Qt passes them,
// and the Japanese shown. An empty context matches any class: the few
// texts that only a CUPS printer brings up, which could not be watched
// being asked for.
struct QtText {
    std::string_view context;
    std::string_view source;
    std::string_view disambiguation;
    const char16_t* japanese;
};

// Wording follows qtbase_ja's for the neighbouring texts ("長辺綴じ",
// "フォルダ", "タブロイド・エクストラ").
constexpr QtText QtTexts[] = {
    // Print dialog, "オプション" tab.
    {"QPrintSettingsOutput", "Pages", "", u"ページ指定"},
    {"QPrintSettingsOutput",
     "Specify pages or ranges separated by commas. Ranges are specified by two numbers separated "
     "by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     "",
     u"印刷するページや範囲をカンマで区切って指定します。"
     u"範囲は 2 つの数をハイフンでつないで指定します。"
     u"例: 3,5-7,9 は 3、5、6、7、9 ページを印刷します。"},
    {"QPrintSettingsOutput", "Double Sided Printing", "", u"両面印刷"},
    {"QPrintSettingsOutput", "Off", "", u"オフ"},
    {"QPrintSettingsOutput", "Long side binding", "", u"長辺綴じ"},
    {"QPrintSettingsOutput", "Short side binding", "", u"短辺綴じ"},
    // Printer properties.
    {"QPrintPropertiesWidget", "Advanced", "", u"詳細設定"},
    {"QPrintPropertiesWidget", "There are conflicts in some options. Please fix them.", "",
     u"一部のオプションが競合しています。修正してください。"},
    // Only with a CUPS printer: conflicting options and a typed page list.
    {"", "Advanced Option Conflicts", "", u"詳細設定の競合"},
    {"", "There are conflicts in some advanced options. Do you want to fix them?", "",
     u"詳細設定の一部が競合しています。修正しますか?"},
    {"", "Page Setup Conflicts", "", u"ページ設定の競合"},
    {"", "There are conflicts in page setup options. Do you want to fix them?", "",
     u"ページ設定のオプションが競合しています。修正しますか?"},
    {"", "Duplex Settings Conflicts", "", u"両面印刷の設定の競合"},
    {"", "There are conflicts in duplex settings. Do you want to fix them?", "",
     u"両面印刷の設定が競合しています。修正しますか?"},
    {"", "Invalid Pages Definition", "", u"ページ指定が正しくありません"},
    {"",
     "%1 does not follow the correct syntax. Please use ',' to separate ranges and pages, '-' to "
     "define ranges and make sure ranges do not intersect with each other.",
     "",
     u"%1 は正しい書式ではありません。"
     u"ページや範囲は「,」で区切り、範囲は「-」で指定して、"
     u"範囲どうしが重ならないようにしてください。"},
    {"", "Banner page at start", "", u"開始バナーページ"},
    {"", "Banner page at end", "", u"終了バナーページ"},
    // File dialog, type column.
    {"QAbstractFileIconProvider", "Folder", "All other platforms", u"フォルダ"},
    {"QAbstractFileIconProvider", "Shortcut", "All other platforms", u"ショートカット"},
    {"QAbstractFileIconProvider", "Drive", "", u"ドライブ"},
    {"QAbstractFileIconProvider", "Unknown", "", u"不明"},
    // Colour chooser: Qt's catalogue keeps "&HTML:" for the #rrggbb box.
    {"QColorDialog", "&HTML:", "", u"カラーコード(&H):"},
    // Paper names that qtbase_ja leaves half English.
    {"QPageSize", "A3 Extra", "", u"A3 エクストラ"},
    {"QPageSize", "A4 Extra", "", u"A4 エクストラ"},
    {"QPageSize", "A4 Plus", "", u"A4 プラス"},
    {"QPageSize", "A4 Small", "", u"A4 スモール"},
    {"QPageSize", "A5 Extra", "", u"A5 エクストラ"},
    {"QPageSize", "B5 Extra", "", u"B5 エクストラ"},
    {"QPageSize", "Legal Extra", "", u"リーガル・エクストラ"},
    {"QPageSize", "Letter Extra", "", u"レター・エクストラ"},
    {"QPageSize", "Letter Plus", "", u"レター・プラス"},
    {"QPageSize", "Letter Small", "", u"レター・スモール"},
    {"QPageSize", "Super A", "", u"スーパー A"},
    {"QPageSize", "Super B", "", u"スーパー B"},
};

}  // namespace

QString QtJapaneseTexts::translate(const char* context, const char* sourceText,
                                   const char* disambiguation, int /*n*/) const
{
    if (context == nullptr || sourceText == nullptr) {
        return {};
    }
    const std::string_view asked{context};
    const std::string_view source{sourceText};
    const std::string_view comment{disambiguation != nullptr ? disambiguation : ""};
    for (const QtText& text : QtTexts) {
        if (text.source == source && text.disambiguation == comment
            && (text.context.empty() || text.context == asked)) {
            return QString::fromUtf16(text.japanese);
        }
    }
    return {};
}

bool QtJapaneseTexts::isEmpty() const
{
    // Qt skips a translator that says it is empty.
    return false;
}

}  // namespace kestrel
