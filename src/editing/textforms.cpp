#include "textforms.h"

#include <QRegularExpression>

namespace vx {

namespace {

// A number text split into its parts, without any conversion to binary
// floating point.
struct Decimal
{
    bool negativo = false;
    QString inteiros;
    QString fraccao;
};

std::optional<Decimal> decompor(const QString &text)
{
    // Anchored at the very end: "$" alone would also match before a final
    // newline, and "1,50\n" would pass for a number.
    static const QRegularExpression re(
        QRegularExpression::anchoredPattern(QStringLiteral("(-?)([0-9]+)(?:,([0-9]*))?")));
    const auto m = re.match(text);
    if (!m.hasMatch()) return std::nullopt;
    return Decimal{!m.captured(1).isEmpty(), m.captured(2), m.captured(3)};
}

// Value × 100 rounded to the nearest whole number, ties to even; magnitude
// only. nullopt when it does not fit 64 bits.
std::optional<quint64> centesimosArredondados(const Decimal &d)
{
    QString inteiros = d.inteiros;
    while (inteiros.size() > 1 && inteiros.startsWith(QLatin1Char('0')))
        inteiros.remove(0, 1);
    if (inteiros.size() > 15) return std::nullopt;
    quint64 v = inteiros.toULongLong() * 100;
    const QString f = d.fraccao + QStringLiteral("00");
    v += static_cast<quint64>(f.at(0).digitValue() * 10 + f.at(1).digitValue());
    const QString resto = d.fraccao.mid(2);
    if (!resto.isEmpty()) {
        const int primeiro = resto.at(0).digitValue();
        const bool restoAlemDoMeio =
            resto.mid(1).contains(QRegularExpression(QStringLiteral("[1-9]")));
        if (primeiro > 5 || (primeiro == 5 && restoAlemDoMeio) || (primeiro == 5 && (v % 2) == 1))
            ++v;
    }
    return v;
}

bool digitos(const QString &s)
{
    return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) {
        return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    });
}

bool hex12(const QString &s)
{
    static const QRegularExpression re(
        QRegularExpression::anchoredPattern(QStringLiteral("[0-9A-Fa-f]{12}")));
    return re.match(s).hasMatch();
}

struct DataHora
{
    unsigned a, b, c;
};

std::optional<DataHora> data(const QString &t)
{
    if (t.size() != 10 || t.at(2) != QLatin1Char('-') || t.at(5) != QLatin1Char('-'))
        return std::nullopt;
    const QString d = t.left(2), m = t.mid(3, 2), a = t.mid(6);
    if (!digitos(d) || !digitos(m) || !digitos(a)) return std::nullopt;
    const unsigned dia = d.toUInt(), mes = m.toUInt(), ano = a.toUInt();
    if (dia > 31 || mes > 12 || ano < 2000 || ano > 2255) return std::nullopt;
    return DataHora{dia, mes, ano - 2000};
}

std::optional<DataHora> hora(const QString &t)
{
    if (t.size() != 5 || t.at(2) != QLatin1Char(':')) return std::nullopt;
    const QString h = t.left(2), m = t.mid(3);
    if (!digitos(h) || !digitos(m) || h.toUInt() > 23 || m.toUInt() > 59) return std::nullopt;
    return DataHora{h.toUInt(), m.toUInt(), 0};
}

bool codigo(const QString &t)
{
    return t.size() == 5 && t.at(0).unicode() <= 255 && digitos(t.mid(1));
}

std::optional<quint64> contagem(const QString &t, quint64 maximo)
{
    const auto n = inteiro(t);
    if (!n || *n < 0 || static_cast<quint64>(*n) > maximo) return std::nullopt;
    return static_cast<quint64>(*n);
}

void porNumero(DadosTx &dados, quint64 n, int bytes)
{
    for (int k = 0; k < bytes; ++k)
        porByte(dados, k, static_cast<uint8_t>((n >> (8 * k)) & 0xFF));
}

// The device's three-byte encoding: as many digits as the value needs, after
// clearing the whole buffer.
void porTresBytes(DadosTx &dados, quint64 n)
{
    dados.fill('0');
    int k = 0;
    while (n >= 16) {
        dados[k++] = nibble_hex(static_cast<int>(n % 16));
        n /= 16;
    }
    dados[k] = nibble_hex(static_cast<int>(n));
}

constexpr quint64 kMax3 = 16777215;

} // namespace

bool ehNumero(const QString &text)
{
    return decompor(text).has_value();
}

std::optional<qint64> inteiro(const QString &text)
{
    static const QRegularExpression re(
        QRegularExpression::anchoredPattern(QStringLiteral("-?[0-9]{1,18}")));
    if (!re.match(text).hasMatch()) return std::nullopt;
    return text.toLongLong();
}

std::optional<uint32_t> centimos(const QString &text)
{
    const auto d = decompor(text);
    if (!d) return std::nullopt;
    const auto v = centesimosArredondados(*d);
    if (!v || (d->negativo && *v != 0) || *v > UINT32_MAX) return std::nullopt;
    return static_cast<uint32_t>(*v);
}

bool dentroDoLimite(const QString &text, qint64 limite)
{
    const auto d = decompor(text);
    if (!d) return false;
    // Compare the exact value: 655,351 is above 655,35 even though it rounds
    // down to it.
    Decimal truncado = *d;
    truncado.fraccao = d->fraccao.left(2);
    const auto base = centesimosArredondados(truncado);
    if (!base) return false;
    const bool resto = d->fraccao.mid(2).contains(QRegularExpression(QStringLiteral("[1-9]")));
    if (d->negativo) return *base == 0 && !resto;
    return *base < static_cast<quint64>(limite) ||
           (*base == static_cast<quint64>(limite) && !resto);
}

bool valido(Forma forma, const QString &text)
{
    switch (forma) {
    case Forma::Moeda2: {
        const auto c = centimos(text);
        return c && *c <= 65535;
    }
    case Forma::Moeda3: {
        const auto c = centimos(text);
        return c && *c <= kMax3;
    }
    case Forma::Contagem1:
        return contagem(text, 255).has_value();
    case Forma::Contagem2:
        return contagem(text, 65535).has_value();
    case Forma::Contagem3:
        return contagem(text, kMax3).has_value();
    case Forma::Potencia: {
        const auto n = inteiro(text);
        return n && *n <= 65535;
    }
    case Forma::Flag:
        return true;
    case Forma::Data:
        return text == QLatin1String("-") || data(text).has_value();
    case Forma::Hora:
        return text == QLatin1String("-") || hora(text).has_value();
    case Forma::Codigo:
        return codigo(text);
    case Forma::Serie:
        return text == QLatin1String("-") || hex12(text);
    }
    return false;
}

void porByte(DadosTx &dados, int k, uint8_t b)
{
    dados[2 * k] = nibble_hex(b & 0x0F);
    dados[2 * k + 1] = nibble_hex(b >> 4);
}

bool codificar(const Campo &campo, const QString &text, bool marcado, DadosTx &dados)
{
    if (!valido(campo.forma, text)) return false;
    switch (campo.forma) {
    case Forma::Moeda2:
        porNumero(dados, *centimos(text), 2);
        break;
    case Forma::Moeda3:
        porTresBytes(dados, *centimos(text));
        break;
    case Forma::Contagem1:
    case Forma::Contagem2:
        porNumero(dados, *inteiro(text), campo.bytes);
        break;
    case Forma::Contagem3:
        porTresBytes(dados, *inteiro(text));
        break;
    case Forma::Potencia:
        porNumero(dados, static_cast<quint64>(std::max<qint64>(0, *inteiro(text))), 2);
        break;
    case Forma::Flag:
        dados[0] = marcado ? '1' : '0';
        dados[1] = '0';
        break;
    case Forma::Data: {
        const DataHora d = text == QLatin1String("-") ? DataHora{0, 0, 0} : *data(text);
        porByte(dados, 0, static_cast<uint8_t>(d.a));
        porByte(dados, 1, static_cast<uint8_t>(d.b));
        porByte(dados, 2, static_cast<uint8_t>(d.c));
        break;
    }
    case Forma::Hora: {
        const DataHora h = text == QLatin1String("-") ? DataHora{0, 0, 0} : *hora(text);
        porByte(dados, 0, static_cast<uint8_t>(h.a));
        porByte(dados, 1, static_cast<uint8_t>(h.b));
        break;
    }
    case Forma::Codigo:
        porByte(dados, 0, static_cast<uint8_t>(text.mid(3, 2).toUInt()));
        porByte(dados, 1, static_cast<uint8_t>(text.mid(1, 2).toUInt()));
        porByte(dados, 2, static_cast<uint8_t>(text.at(0).unicode()));
        break;
    case Forma::Serie: {
        const QString s =
            text == QLatin1String("-") ? QStringLiteral("000000000000") : text.toUpper();
        for (int i = 0; i < 12; ++i)
            dados[i] = s.at(11 - i).toLatin1();
        break;
    }
    }
    return true;
}

QString pad2(unsigned x)
{
    return (x < 10 ? QStringLiteral("0") : QString()) + QString::number(x);
}

QString pin4(unsigned x)
{
    return QString::number(x).rightJustified(4, QLatin1Char('0'));
}

QString textoData(unsigned dia, unsigned mes, unsigned ano)
{
    return pad2(dia) + QLatin1Char('-') + pad2(mes) + QLatin1Char('-') +
           QString::number(ano + 2000);
}

QString textoHora(unsigned hora, unsigned minuto)
{
    return pad2(hora) + QLatin1Char(':') + pad2(minuto);
}

} // namespace vx
