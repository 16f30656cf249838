#include "Translation.h"

#include <QLibraryInfo>
#include <QTranslator>

namespace mirelo {

Translations::Translations(const QLocale& locale)
{
    // English first: its catalogue holds only the plural forms of the
    // source texts. The user's language, then Qt's own texts in it (file
    // dialogs, standard buttons), are looked in before it.
    auto load = [this](const QLocale& language, const QString& name, const QString& folder) {
        auto translator = std::make_unique<QTranslator>();
        if (!translator->load(language, name, QStringLiteral("_"), folder)) return;
        QCoreApplication::installTranslator(translator.get());
        installed_.push_back(std::move(translator));
    };
    const QString ours = QStringLiteral(":/i18n");
    load(QLocale(QLocale::English), QStringLiteral("mirelo"), ours);
    if (locale.uiLanguages().value(0).startsWith(QStringLiteral("en"))) return;
    load(locale, QStringLiteral("mirelo"), ours);
    const QString qt = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    load(locale, QStringLiteral("qtbase"), qt);
    load(locale, QStringLiteral("qtmultimedia"), qt);
}

Translations::~Translations()
{
    for (const std::unique_ptr<QTranslator>& translator : installed_)
        QCoreApplication::removeTranslator(translator.get());
}

} // namespace mirelo
