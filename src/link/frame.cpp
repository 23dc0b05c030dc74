#include "frame.h"

namespace vx {

char nibble_hex(int n)
{
    int c = n + 48;
    if (c > 57) c += 7;
    return static_cast<char>(c);
}

uint8_t hex_nibble(char c)
{
    const int code = static_cast<unsigned char>(c);
    if (code < 48) return 0;
    int v = code - 48;
    if (v > 9) v -= 7;
    return static_cast<uint8_t>(v);
}

QString moeda_texto(uint32_t centimos)
{
    const uint32_t cents = centimos % 100;
    return QString::number(centimos / 100) + QLatin1Char(',') +
           (cents < 10 ? QStringLiteral("0") : QString()) + QString::number(cents);
}

int somaNibbles(const QByteArray &frame)
{
    int sum = 0;
    for (int i = 1; i <= 25 && i < frame.size(); ++i)
        sum += hex_nibble(frame.at(i));
    return sum;
}

QByteArray construirPedido(uint8_t comando, uint8_t indice, uint8_t valor, const DadosTx &dados)
{
    QByteArray t(kFrameLength, '0');
    t[0] = '#';
    t[1] = 'A';
    t[2] = 'F';
    const uint8_t campos[3] = {comando, indice, valor};
    for (int k = 0; k < 3; ++k) {
        t[8 + 2 * k] = nibble_hex(campos[k] & 0x0F);
        t[9 + 2 * k] = nibble_hex(campos[k] >> 4);
    }
    if (comando == 2 || comando == 6) {
        for (int i = 0; i < kDataLength; ++i)
            t[kDataOffset + i] = dados[i];
    }
    t[28] = '%';
    const int sum = somaNibbles(t);
    // Every request this program builds sums below 256, so the high digit is
    // always a hex digit; the division is kept as the device computes it.
    t[26] = nibble_hex(sum % 16);
    t[27] = nibble_hex(sum / 16);
    return t;
}

static bool ehHexMaiuscula(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

bool respostaValida(const QByteArray &r)
{
    if (r.size() < kFrameLength || r.at(0) != '!') return false;
    for (int i = 1; i <= 27; ++i)
        if (!ehHexMaiuscula(r.at(i))) return false;
    const int soma = somaNibbles(r) % 256;
    const int declarada = hex_nibble(r.at(27)) * 16 + hex_nibble(r.at(26));
    if (soma != declarada) return false;
    return r.at(28) == '%';
}

QByteArray construirResposta(const QByteArray &cabecalho13, const QByteArray &dados12)
{
    QByteArray r(kFrameLength, '0');
    r[0] = '!';
    for (int i = 0; i < 13 && i < cabecalho13.size(); ++i)
        r[1 + i] = cabecalho13.at(i);
    for (int i = 0; i < kDataLength && i < dados12.size(); ++i)
        r[kDataOffset + i] = dados12.at(i);
    const int soma = somaNibbles(r) % 256;
    r[26] = nibble_hex(soma % 16);
    r[27] = nibble_hex(soma / 16);
    r[28] = '%';
    return r;
}

uint8_t byteDados(const QByteArray &frame, int k)
{
    const int lo = kDataOffset + 2 * k;
    if (k < 0 || k >= 6 || frame.size() <= lo + 1) return 0;
    return static_cast<uint8_t>(((hex_nibble(frame.at(lo + 1)) & 0x0F) << 4) |
                                (hex_nibble(frame.at(lo)) & 0x0F));
}

uint32_t numeroDados(const QByteArray &frame, int bytes)
{
    uint32_t n = 0;
    for (int k = bytes - 1; k >= 0; --k)
        n = (n << 8) | byteDados(frame, k);
    return n;
}

QString dadosInvertidos(const QByteArray &frame)
{
    QString s;
    for (int i = kDataOffset + kDataLength - 1; i >= kDataOffset; --i)
        s += QLatin1Char(i < frame.size() ? frame.at(i) : '0');
    return s;
}

} // namespace vx
