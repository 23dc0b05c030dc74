#include "bases.h"

#include "tabelas.h"

#include <QFile>
#include <QFileInfo>
#include <climits>
#include <cstdio>

// The default report template is built into the library; see CMakeLists.txt.
static void iniciarRecursos()
{
    Q_INIT_RESOURCE(relatorio);
}

namespace vx {

namespace {

using Kind = RecordStore::Kind;

void setErro(QString *erro, const QString &texto)
{
    if (erro) *erro = texto;
}

QList<RecordStore::Table> esquemaValores()
{
    RecordStore::Table valores{nome(kTbValoresPre1), {}, {}, {}};
    RecordStore::Values linha;
    valores.columns << RecordStore::Column{nome(kIdioma), Kind::Text}
                    << RecordStore::Column{nome(kComm), Kind::Integer};
    linha << qMakePair(nome(kIdioma), QVariant(QStringLiteral("PT")))
          << qMakePair(nome(kComm), QVariant(1));
    for (const auto &c : kPredefinidos) {
        valores.columns << RecordStore::Column{nome(c.campo), Kind::Text};
        linha << qMakePair(nome(c.campo), QVariant(nome(c.inicial)));
        if (c.campo == "Parcial") {
            valores.columns << RecordStore::Column{nome(kPagar), Kind::Text};
            linha << qMakePair(nome(kPagar), QVariant(nome(kPagarInicial)));
        }
    }
    valores.rows << linha;

    RecordStore::Table relatorio{nome(kTbReport), {}, {}, {}};
    RecordStore::Values vazio;
    for (const auto &c : kCamposRelatorio) {
        relatorio.columns << RecordStore::Column{nome(c.campo), Kind::Text};
        vazio << qMakePair(nome(c.campo), QVariant(QStringLiteral("-")));
    }
    relatorio.rows << vazio;
    return {valores, relatorio};
}

QList<RecordStore::Table> esquemaRegisto()
{
    RecordStore::Table registo{nome(kTbRegisto), {}, nome(kOrdemRegisto), {}};
    registo.columns << RecordStore::Column{QStringLiteral("NMec"), Kind::Integer}
                    << RecordStore::Column{QStringLiteral("NFab"), Kind::Text}
                    << RecordStore::Column{QStringLiteral("NAct"), Kind::Integer}
                    << RecordStore::Column{QStringLiteral("SAct"), Kind::Integer}
                    << RecordStore::Column{QStringLiteral("Data"), Kind::Date}
                    << RecordStore::Column{QStringLiteral("hora"), Kind::Time};
    return {registo};
}

} // namespace

Bases::Bases(RecordStore &store, const QString &pasta) : m_store(store), m_pasta(pasta) {}

QString Bases::ficheiroValores() const
{
    return QDir(m_pasta).filePath(nome(kFicheiroValores));
}

QString Bases::ficheiroRegisto() const
{
    return QDir(m_pasta).filePath(nome(kFicheiroRegisto));
}

QString Bases::ficheiroModelo() const
{
    return QDir(m_pasta).filePath(nome(kFicheiroModelo));
}

bool Bases::provisionar(QStringList *criados, QString *erro)
{
    const auto criado = [&](const QString &f) {
        if (criados) criados->append(f);
        std::fprintf(
            stderr, "VX308: criado %s\n",
            QDir::toNativeSeparators(QFileInfo(f).absoluteFilePath()).toLocal8Bit().constData());
    };
    if (!m_store.exists(ficheiroValores())) {
        if (!m_store.create(ficheiroValores(), esquemaValores(), erro)) return false;
        criado(ficheiroValores());
    }
    if (!m_store.exists(ficheiroRegisto())) {
        if (!m_store.create(ficheiroRegisto(), esquemaRegisto(), erro)) return false;
        criado(ficheiroRegisto());
    }
    const QString modelo = ficheiroModelo();
    if (!QFileInfo::exists(modelo)) {
        iniciarRecursos();
        // A copy out of the resources keeps their read-only mode.
        if (!QFile::copy(QStringLiteral(":/vx/manutencao.html"), modelo) ||
            !QFile::setPermissions(modelo, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                               QFileDevice::ReadGroup | QFileDevice::ReadOther)) {
            setErro(
                erro,
                QStringLiteral("Não foi possível criar %1.").arg(QDir::toNativeSeparators(modelo)));
            return false;
        }
        criado(modelo);
    }
    return true;
}

bool Bases::lerDefinicoes(const QStringList &campos, QVariantMap *valores, QString *erro)
{
    return m_store.readFirst(ficheiroValores(), nome(kTbValoresPre1), campos, valores, erro);
}

bool Bases::lerIdioma(QString *idioma, QString *erro)
{
    QVariantMap v;
    if (!lerDefinicoes({nome(kIdioma)}, &v, erro)) return false;
    *idioma = v.value(nome(kIdioma)).toString();
    return true;
}

bool Bases::lerComm(int *comm, QString *erro)
{
    QVariantMap v;
    if (!lerDefinicoes({nome(kComm)}, &v, erro)) return false;
    const QVariant c = v.value(nome(kComm));
    bool ok = false;
    const qlonglong n = c.toLongLong(&ok);
    if (c.isNull() || !ok || n < INT_MIN || n > INT_MAX) {
        setErro(erro, QStringLiteral("O campo Comm de %1 não tem um número de porta.")
                          .arg(QDir::toNativeSeparators(ficheiroValores())));
        return false;
    }
    *comm = static_cast<int>(n);
    return true;
}

bool Bases::gravarDefinicoes(const RecordStore::Values &valores, QString *erro)
{
    return m_store.updateFirst(ficheiroValores(), nome(kTbValoresPre1), valores, erro);
}

bool Bases::gravarIdioma(int idioma, QString *erro)
{
    if (idioma != 0 && idioma != 1) {
        setErro(erro, QStringLiteral("Idioma desconhecido: %1").arg(idioma));
        return false;
    }
    return gravarDefinicoes(
        {qMakePair(nome(kIdioma),
                   QVariant(idioma == 1 ? QStringLiteral("EN") : QStringLiteral("PT")))},
        erro);
}

bool Bases::gravarComm(int comm, QString *erro)
{
    return gravarDefinicoes({qMakePair(nome(kComm), QVariant(comm))}, erro);
}

bool Bases::gravarRelatorio(const RecordStore::Values &linha, QString *erro)
{
    return m_store.updateFirst(ficheiroValores(), nome(kTbReport), linha, erro);
}

bool Bases::lerRelatorio(QVariantMap *linha, QString *erro)
{
    QStringList campos;
    for (const auto &c : kCamposRelatorio)
        campos << nome(c.campo);
    return m_store.readFirst(ficheiroValores(), nome(kTbReport), campos, linha, erro);
}

bool Bases::acrescentarRegisto(const LinhaRegisto &l, QString *erro)
{
    // The next first click reads NAct back as a byte and SAct as a week.
    if (l.NAct < 0 || l.NAct > 255 || l.SAct < 0 || l.SAct > 53) {
        setErro(erro,
                QStringLiteral("Registo inválido: NAct %1, SAct %2.").arg(l.NAct).arg(l.SAct));
        return false;
    }
    return m_store.append(ficheiroRegisto(), nome(kTbRegisto),
                          {qMakePair(QStringLiteral("NMec"), QVariant(l.NMec)),
                           qMakePair(QStringLiteral("NFab"), QVariant(l.NFab)),
                           qMakePair(QStringLiteral("NAct"), QVariant(l.NAct)),
                           qMakePair(QStringLiteral("SAct"), QVariant(l.SAct)),
                           qMakePair(QStringLiteral("Data"), QVariant(l.Data)),
                           qMakePair(QStringLiteral("hora"), QVariant(l.hora))},
                          erro);
}

bool Bases::lerUltimoRegisto(UltimoRegisto *u, QString *erro)
{
    *u = UltimoRegisto{};
    QVariantMap v;
    bool encontrado = false;
    if (!m_store.readLast(ficheiroRegisto(), nome(kTbRegisto), nome(kOrdemRegisto),
                          {QStringLiteral("NMec"), QStringLiteral("NAct"), QStringLiteral("SAct"),
                           QStringLiteral("Data")},
                          &v, &encontrado, erro))
        return false;
    if (!encontrado) return true;
    u->existe = true;
    u->NMec = v.value(QStringLiteral("NMec")).toInt();
    u->NAct = v.value(QStringLiteral("NAct")).toInt();
    u->SAct = v.value(QStringLiteral("SAct")).toInt();
    u->Data = v.value(QStringLiteral("Data")).toDate();
    return true;
}

} // namespace vx
