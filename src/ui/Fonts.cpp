#include "Fonts.h"

#include <QStringList>

namespace {
const QString CourierNew = QStringLiteral("Courier New");
const QString SystemFont = QStringLiteral("System");
const QString MsPGothic = QStringLiteral("ＭＳ Ｐゴシック");

QFont MakeFont(const QString &family, int pixelSize, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // Whole-pixel advances, as the original platform draws text: "Courier New" bold at 17
    // is then 10 pixels a character, which is what the layout's label sizes are made of.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}
} // namespace

void InstallFontSubstitutes()
{
    QFont::insertSubstitutions(CourierNew, {QStringLiteral("Liberation Mono"), QStringLiteral("DejaVu Sans Mono")});
    QFont::insertSubstitution(SystemFont, QStringLiteral("IPAPGothic"));
    QFont::insertSubstitution(MsPGothic, QStringLiteral("IPAPGothic"));
}

QFont FontOf(FontKind kind)
{
    switch (kind) {
    case FontKind::Inherit:
        break;
    case FontKind::System16:
        return MakeFont(SystemFont, 16, false);
    case FontKind::Courier17:
        return MakeFont(CourierNew, 17, true);
    case FontKind::Courier18:
        return MakeFont(CourierNew, 18, true);
    case FontKind::Courier20:
        return MakeFont(CourierNew, 20, true);
    case FontKind::PGothic15:
        return MakeFont(MsPGothic, 15, false);
    case FontKind::PGothic17:
        return MakeFont(MsPGothic, 17, false);
    }
    return QFont();
}
