#include "metadata/NumberText.h"

#include <array>
#include <charconv>

QString fixedText(double value, int decimals)
{
    // to_chars rounds exactly as printf does, without printf's dependence on LC_NUMERIC.
    std::array<char, 400> buffer; // the longest double in fixed notation has 309 integer digits
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, decimals);
    if (error != std::errc())
        return QString();
    return QString::fromLatin1(buffer.data(), end - buffer.data());
}
