#include "core/worksheet/LeadingNumber.h"

#include <charconv>
#include <string>

namespace cs42 {

double LeadingNumber(const QString& text, bool* readable, bool* whole)
{
    if (readable)
        *readable = true;
    if (whole)
        *whole = false;
    std::string number;
    bool signSeen = false;
    bool pointSeen = false;
    bool digitSeen = false;
    bool stopped = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u' ' || u == u'\t' || u == u'\n')
            continue;
        if ((u == u'+' || u == u'-') && !signSeen && !pointSeen && !digitSeen) {
            signSeen = true;
            if (u == u'-')
                number += '-';
            continue;
        }
        if (u == u'.' && !pointSeen) {
            pointSeen = true;
            number += '.';
            continue;
        }
        if (u >= u'0' && u <= u'9') {
            digitSeen = true;
            number += static_cast<char>(u);
            continue;
        }
        stopped = true;
        break;
    }
    if (!digitSeen)
        return 0.0;
    if (whole)
        *whole = !stopped;
    // from_chars gives the correctly rounded double of the decimal digits, whatever the locale.
    if (number.back() == '.')
        number.pop_back();
    double value = 0.0;
    const char* first = number.data();
    const char* last = number.data() + number.size();
    const auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc()) {
        if (readable)
            *readable = false;
        return 0.0;
    }
    return value;
}

} // namespace cs42
