#pragma once
// Every text the user reads goes through the catalogue of the user's
// language (translations/); the English texts are the source. Texts that
// name a count use "%Ln" and the language's plural forms.

#include <QCoreApplication>
#include <QLocale>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

class QTranslator;

namespace mirelo {

// lupdate collects the calls of this name: translate("Mirelo", "Text").
inline QString translate(const char* context, const char* text, const char* comment = nullptr, int n = -1)
{
    return QCoreApplication::translate(context, text, comment, n);
}

// The count for a plural form ("%Ln file(s)"), within what an int holds.
inline int pluralCount(int64_t count) { return int(std::clamp<int64_t>(count, 0, INT32_MAX)); }

// The catalogues of `locale`'s language installed for as long as this
// lives: Mirelo's own and Qt's. English texts always get their plural forms.
class Translations {
public:
    // The system locale's languages follow $LANGUAGE, then $LC_ALL, $LC_MESSAGES, $LANG.
    explicit Translations(const QLocale& locale = QLocale::system());
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

private:
    std::vector<std::unique_ptr<QTranslator>> installed_;
};

} // namespace mirelo
