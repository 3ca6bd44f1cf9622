#include "widgets/Fonts.h"

#include <QString>

namespace zorvek {
namespace {

QFont font(const QString& family, double points, bool bold)
{
    QFont result(family);
    result.setPointSizeF(points);
    result.setBold(bold);
    return result;
}

} // namespace

QFont Verdana(double points, bool bold)
{
    return font(QStringLiteral("Verdana"), points, bold);
}

QFont Tahoma(double points)
{
    return font(QStringLiteral("Tahoma"), points, false);
}

} // namespace zorvek
