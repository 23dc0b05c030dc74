#include "qttranslations.h"

#include "text.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>
#include <array>

namespace vx {

namespace {

// The product speaks European Portuguese: its catalogues first, then the
// Brazilian one, which Debian ships complete, for what they lack.
constexpr std::array<const char *, 4> kPortuguese{"qtbase_pt_PT", "qt_pt_PT", "qtbase_pt",
                                                  "qtbase_pt_BR"};

} // namespace

QtTranslations::QtTranslations()
    : QtTranslations(QLibraryInfo::path(QLibraryInfo::TranslationsPath))
{
}

QtTranslations::QtTranslations(QString folder) : m_folder(std::move(folder)) {}

QtTranslations::~QtTranslations()
{
    removeAll();
}

void QtTranslations::removeAll()
{
    for (const auto &t : m_installed)
        QCoreApplication::removeTranslator(t.get());
    m_installed.clear();
}

void QtTranslations::apply(int idioma)
{
    idioma = knownLanguage(idioma);
    if (idioma == m_idioma) return;
    m_idioma = idioma;
    removeAll();
    if (idioma == 1) return;
    // The translator installed last is asked first: the least wanted goes in
    // first.
    for (auto it = kPortuguese.rbegin(); it != kPortuguese.rend(); ++it) {
        // Only the catalogue named: a missing one must not fall back to a
        // shorter name of the same file family.
        const QString file = QDir(m_folder).filePath(QLatin1String(*it) + QStringLiteral(".qm"));
        auto t = std::make_unique<QTranslator>();
        if (!QFileInfo::exists(file) || !t->load(file)) continue;
        QCoreApplication::installTranslator(t.get());
        m_installed.push_back(std::move(t));
    }
}

QStringList QtTranslations::catalogues() const
{
    QStringList names;
    for (auto it = m_installed.rbegin(); it != m_installed.rend(); ++it)
        names << (*it)->filePath();
    return names;
}

} // namespace vx
