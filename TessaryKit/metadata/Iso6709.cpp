#include "metadata/Iso6709.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// One coordinate whose whole degrees take `degreeDigits` digits (2 for latitude, 3 for longitude).
std::optional<double> coordinate(const QString& sign, const QString& integer, const QString& fraction,
                                 int degreeDigits, double limit)
{
    const int extra = int(integer.size()) - degreeDigits;
    if (extra != 0 && extra != 2 && extra != 4)
        return std::nullopt;
    const double tail = (integer.right(extra == 0 ? 0 : 2) + u'.' + fraction).toDouble();
    double degrees = integer.left(degreeDigits).toDouble();
    if (extra == 0)
        degrees += (u"0."_s + fraction).toDouble();
    else if (extra == 2)
        degrees += tail / 60;
    else
        degrees += integer.mid(degreeDigits, 2).toDouble() / 60 + tail / 3600;
    if (degrees > limit)
        return std::nullopt;
    return sign == u"-"_s ? -degrees : degrees;
}

} // namespace

std::optional<GeoPosition> iso6709Position(const QString& text)
{
    static const QRegularExpression point(u"\\A([+-])(\\d+)(?:\\.(\\d+))?([+-])(\\d+)(?:\\.(\\d+))?"_s);
    const auto match = point.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const auto latitude = coordinate(match.captured(1), match.captured(2), match.captured(3), 2, 90);
    const auto longitude = coordinate(match.captured(4), match.captured(5), match.captured(6), 3, 180);
    if (!latitude || !longitude)
        return std::nullopt;
    return GeoPosition{*latitude, *longitude};
}
