#include "ui/font_substitutions.h"

#include <QFont>
#include <QString>

namespace vexilon {

void registerFontSubstitutions() {
    const QString microHei = QStringLiteral("WenQuanYi Micro Hei");
    QFont::insertSubstitution(QStringLiteral("微软雅黑"), microHei);
    QFont::insertSubstitution(QStringLiteral("Microsoft YaHei"), microHei);
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Calibri"), QStringLiteral("Carlito"));
}

} // namespace vexilon
