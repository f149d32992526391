#include "app/InterfaceLanguageQt.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// The ids of the languages of data/lang.
struct TLocalePair {
    std::int16_t Id;
    const char* Locale;
};
constexpr TLocalePair kLocales[] = {{100, "en"}, {101, "de"}, {102, "ru"}};

// The installed catalogue is the application's child of this name, so it goes with the
// application and the next language finds it.
constexpr char kTranslatorName[] = "QtTranslation";
constexpr char kLocaleProperty[] = "interfaceLocale";

QTranslator* InstalledTranslator()
{
    return QCoreApplication::instance()->findChild<QTranslator*>(QLatin1String(kTranslatorName),
                                                                 Qt::FindDirectChildrenOnly);
}

}  // namespace

QString QtLocaleName(std::int16_t languageId)
{
    for (const TLocalePair& pair : kLocales)
        if (pair.Id == languageId)
            return QLatin1String(pair.Locale);
    return {};
}

bool InstallQtTranslation(std::int16_t languageId)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr)
        return false;
    const QString locale = QtLocaleName(languageId);
    QTranslator* old = InstalledTranslator();
    if (old != nullptr && old->property(kLocaleProperty).toString() == locale)
        return true;  // already in place: the windows need not be translated again
    if (old != nullptr) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
    if (locale.isEmpty() || locale == QLatin1String("en"))
        return false;
    auto* translator = new QTranslator(app);
    translator->setObjectName(QLatin1String(kTranslatorName));
    if (!translator->load(QLatin1String("qtbase_") + locale, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    translator->setProperty(kLocaleProperty, locale);
    QCoreApplication::installTranslator(translator);
    return true;
}
