// Guards start-up: the splash shows the stored language, the main window's
// load sequence runs once and leaves the documented state, and the hand-over
// from the splash keeps its order even while the port message waits for the
// technician. A main window that pops up behind an unanswered message, or a
// splash that closes before the load has finished, is the fault.

#include "oficina.h"
#include "portchooser.h"

#include <QEventLoop>
#include <QLabel>
#include <QTest>

using namespace vx;

namespace {

// A message box that stays open for `ms` of real time, as a technician who
// reads it before pressing OK; it notes when it opens and closes.
class MensagemLenta : public MessageSink
{
public:
    MensagemLenta(QStringList &diario, int ms) : m_diario(diario), m_ms(ms) {}
    void show(const QString &text, const QString &, Icon) override
    {
        m_diario << QStringLiteral("mensagem aberta");
        textos << text;
        QEventLoop ciclo;
        QTimer::singleShot(m_ms, &ciclo, &QEventLoop::quit);
        ciclo.exec();
        m_diario << QStringLiteral("mensagem fechada");
    }
    QStringList textos;

private:
    QStringList &m_diario;
    int m_ms;
};

// Notes when a window is shown or hidden.
class Observador : public QObject
{
public:
    Observador(QStringList &diario, QWidget *w, QString nome)
        : m_diario(diario), m_nome(std::move(nome))
    {
        w->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Show)
            m_diario << m_nome + QStringLiteral(" mostrado");
        else if (e->type() == QEvent::Hide)
            m_diario << m_nome + QStringLiteral(" fechado");
        return false;
    }

private:
    QStringList &m_diario;
    QString m_nome;
};

void guardar(Arquivo &a, const QString &idioma, int comm)
{
    Oficina o(a);
    QVERIFY(o.app->bases().provisionar(nullptr, nullptr));
    QVERIFY(a.store.updateFirst(
        o.app->bases().ficheiroValores(), QStringLiteral("TbValoresPre1"),
        {{QStringLiteral("idioma"), idioma}, {QStringLiteral("Comm"), comm}}, nullptr));
}

} // namespace

class TstArranque : public QObject
{
    Q_OBJECT

private slots:
    void estado_depois_do_arranque()
    {
        Arquivo a;
        guardar(a, QStringLiteral("PT"), 2);
        Oficina o(a);
        o.edit().sessao.modo = 2;
        o.edit().setEnabled(QStringLiteral("Command_imprimir"), true);
        QVERIFY(o.arrancar());
        QCOMPARE(o.edit().sessao.modo, uint8_t(0));
        QVERIFY(!o.janela().controlo(QStringLiteral("Command_imprimir"))->isEnabled());
        QCOMPARE(o.porta.portNumber(), 2);
        QVERIFY(!o.porta.isOpen());
        QCOMPARE(o.porta.opens(), 1); // the trial
        QVERIFY(o.mensagens.messages.empty());
        QVERIFY(!o.motor().activo());
        QVERIFY(o.janela().isVisible());
        QVERIFY(!o.app->splash().isVisible());
        QCOMPARE(o.app->splash().lblProductName()->text(), QStringLiteral("Manutenção VX308"));
        QCOMPARE(o.app->splash().lblVersion()->text(), QStringLiteral("Versão: 3.5"));
        // The load sequence runs once only.
        o.janela().carregar();
        QCOMPARE(o.porta.opens(), 1);
    }

    // The splash's time runs from the moment it exists, so the stopwatch
    // starts before the program builds it; a timer that fires early (Qt's
    // coarse timers may, by up to 5 %) is the fault.
    void splash_fica_o_tempo_todo()
    {
        Arquivo a;
        QElapsedTimer t;
        t.start();
        Oficina o(a);
        QVERIFY(o.arrancar());
        QVERIFY2(t.elapsed() >= Timebase::toReal(3000), qPrintable(QString::number(t.elapsed())));
        QCOMPARE(o.app->splash().Timer_apresentacao().timerType(), Qt::PreciseTimer);
    }

    void mensagem_da_porta_antes_da_janela_data()
    {
        QTest::addColumn<QString>("idioma");
        QTest::addColumn<QStringList>("ordem");
        // A recognised language loads the main window before the splash is
        // shown; an unrecognised one at the hand-over, with the splash still
        // up. Either way the main window comes last.
        QTest::newRow("PT") << "PT"
                            << QStringList{"mensagem aberta", "mensagem fechada", "splash mostrado",
                                           "splash fechado", "janela mostrado"};
        QTest::newRow("desconhecido")
            << "xx"
            << QStringList{"splash mostrado", "mensagem aberta", "mensagem fechada",
                           "splash fechado", "janela mostrado"};
    }
    void mensagem_da_porta_antes_da_janela()
    {
        QFETCH(QString, idioma);
        QFETCH(QStringList, ordem);
        Arquivo a;
        guardar(a, idioma, 3);
        QStringList diario;
        // Open for three times the splash's time.
        MensagemLenta lenta(diario, Timebase::toReal(3000) * 3);
        Oficina o(a, {}, &lenta);
        o.porta.setMissing(3);
        Observador s(diario, &o.app->splash(), QStringLiteral("splash"));
        Observador j(diario, &o.janela(), QStringLiteral("janela"));
        QVERIFY(o.arrancar());
        QCOMPARE(diario, ordem);
        QCOMPARE(lenta.textos,
                 QStringList{QStringLiteral(
                     "A porta 3 não existe ou está a ser utilizada! Selecione outra porta.")});
        // The main window opens anyway, on the stored port, with its tick.
        QCOMPARE(o.porta.portNumber(), 3);
        QVERIFY(o.edit().checked(QStringLiteral("mnu_porta3")));
        QVERIFY(!o.edit().checked(QStringLiteral("mnu_porta1")));
        QVERIFY(!o.porta.isOpen());
    }
};

QTEST_MAIN(TstArranque)
#include "tst_arranque.moc"
