#include "app/JapaneseInterface.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

void UseJapaneseInterface(QApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;

    // IPA P Gothic has the character widths of the classic Japanese interface font, so
    // "プログレッシブタイプ" fits its 105-pixel label as it was laid out; a gothic whose kana
    // are all one em wide needs 120 pixels. Pixels, not points, keep the captions to the
    // pixel layout on screens of other dpi.
    QFont font(QStringLiteral("IPAPGothic"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(12);
    QApplication::setFont(font);
}
