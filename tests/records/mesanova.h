#pragma once

// The main window's model, the engine hooks and the two database files, for
// the tests of "Novo". The engine timer is a pair of counters.

#include "ambiente.h"
#include "clock.h"
#include "editset.h"
#include "messages.h"
#include "novaunidade.h"
#include "tabelas.h"

using namespace vx;

struct Mesa
{
    Mesa()
    {
        Sessao &s = edit.sessao;
        s.modo = 2;
        s.pararMotor = [this] {
            ++paragens;
            activo = false;
        };
        s.iniciarMotor = [this] {
            ++arranques;
            activo = true;
        };
        s.motorActivo = [this] { return activo; };
    }

    void registo(int nmec, int nact, int sact, const QDate &data)
    {
        QString erro;
        if (!a.bases.acrescentarRegisto(
                {nmec, "A0000" + QString::number(nact), nact, sact, data, QTime(8, 0)}, &erro))
            qFatal("%s", qPrintable(erro));
    }
    int linhas() { return Ambiente::contar(a.bases.ficheiroRegisto(), "TbRegisto"); }
    QList<QVariantList> ultima()
    {
        return Ambiente::sql(a.bases.ficheiroRegisto(),
                             {"SELECT NMec, NFab, NAct, SAct, Data, hora FROM TbRegisto "
                              "ORDER BY ordem DESC LIMIT 1"});
    }
    bool algumaMarca() const { return edit.algumPendente(); }
    // What the engine's write pass does with the marks, the device accepting
    // every write except those of the fields named.
    void escreverTudo(const QStringList &semResposta = {})
    {
        for (size_t i = 0; i < kCampos.size(); ++i) {
            if (!edit.tomar(int(i))) continue;
            if (!semResposta.contains(nome(kCampos[i].nome))) edit.reportWritten(int(i));
        }
    }

    Ambiente a;
    RecordingMessages msgs;
    FixedClock relogio{QDateTime(QDate(2007, 2, 1), QTime(9, 5, 30))};
    EditSet edit{msgs};
    NovaUnidade nova{edit, a.bases, msgs, relogio};
    int paragens = 0;
    int arranques = 0;
    bool activo = true;
};

inline const QString kInvalido = QStringLiteral("O valor inserido não é válido!");
