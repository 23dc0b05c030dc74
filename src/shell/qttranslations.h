#pragma once

#include <QStringList>
#include <memory>
#include <vector>

class QTranslator;

namespace vx {

// Qt's own texts in the window's language: the buttons of message boxes
// ("Sim", "Não", "Fechar"), the file dialog ("Procurar em:", "Nome do
// Ficheiro:") and the other dialogs Qt draws. English is Qt's own wording;
// Portuguese comes from the translations Qt ships (on Debian the package
// qt6-translations-l10n), European Portuguese where they have it, Brazilian
// Portuguese for the rest.
class QtTranslations
{
public:
    // From Qt's translations folder.
    QtTranslations();
    // From another folder (a test's).
    explicit QtTranslations(QString folder);
    ~QtTranslations();
    QtTranslations(const QtTranslations &) = delete;
    QtTranslations &operator=(const QtTranslations &) = delete;

    // 0 Portuguese, 1 English. Dialogs opened from now on follow; choosing
    // the language in force again changes nothing.
    void apply(int idioma);
    // The catalogues in use, the one asked first first; empty in English or
    // when Qt's translations are not installed.
    QStringList catalogues() const;
    QString folder() const { return m_folder; }

private:
    void removeAll();

    QString m_folder;
    int m_idioma = -1;
    std::vector<std::unique_ptr<QTranslator>> m_installed;
};

} // namespace vx
